#pragma once
// UPDATE statements:
//   UPDATE "t" [AS "a"] SET "c" = x, ... [FROM "s" [AS "b"] | FROM (SELECT ...) AS "b"]
//   [WHERE ...]
// SET targets are never qualified (PostgreSQL refuses qualified targets).

#include <optional>
#include <utility>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/table_ref.h"

namespace sqlbuilder {

namespace detail {
class Writer;
}

class Update {
 public:
  Update& table(Iden table);
  Update& table_as(Iden table, Iden alias);
  Update& set(Iden column, Expr value);
  Update& from(Iden table);
  Update& from_as(Iden table, Iden alias);
  Update& from_subquery(Select query, Iden alias);
  Update& and_where(Expr condition);

 private:
  friend class detail::Writer;

  std::optional<Iden> table_;
  std::optional<Iden> alias_;
  std::vector<std::pair<Iden, Expr>> sets_;
  std::optional<detail::TableRef> from_;
  std::vector<Expr> where_;
};

}  // namespace sqlbuilder
