#pragma once
// Index DDL.
//   CREATE [UNIQUE] INDEX "name" ON "t" ("a", "b", (expr)) [WHERE condition]
//   DROP INDEX IF EXISTS "name"

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"

namespace sqlbuilder {

namespace detail {
class Writer;
}

class IndexCreate {
 public:
  IndexCreate& name(Iden name);
  IndexCreate& table(Iden table);
  IndexCreate& col(Iden column);
  // An expression column, written in brackets.
  IndexCreate& expr_col(Expr expression);
  IndexCreate& unique();
  IndexCreate& and_where(Expr condition);

  // Empty when the index has no name.
  std::optional<std::string> index_name() const;

 private:
  friend class detail::Writer;

  std::optional<Iden> name_;
  std::optional<Iden> table_;
  // A column, or an expression column.
  std::vector<std::variant<Iden, Expr>> columns_;
  bool unique_ = false;
  std::vector<Expr> where_;
};

class IndexDrop {
 public:
  IndexDrop& name(Iden name);
  IndexDrop& if_exists();

 private:
  friend class detail::Writer;

  std::optional<Iden> name_;
  bool if_exists_ = false;
};

}  // namespace sqlbuilder
