#pragma once
// Index DDL.
//   CREATE [UNIQUE] INDEX "name" ON "t" ("a", "b", (expr)) [WHERE condition]
//   DROP INDEX IF EXISTS "name"

#include <optional>
#include <string>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"

namespace sqlbuilder {

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
  // Implementation's choice.
};

class IndexDrop {
 public:
  IndexDrop& name(Iden name);
  IndexDrop& if_exists();

 private:
  // Implementation's choice.
};

}  // namespace sqlbuilder
