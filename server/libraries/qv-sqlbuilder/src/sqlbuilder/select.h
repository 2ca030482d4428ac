#pragma once
// SELECT statements:
//   [WITH "a" AS (...), ...] SELECT [DISTINCT] items FROM source [joins]
//   [WHERE ...] [GROUP BY ...] [HAVING ...] [ORDER BY ...] [LIMIT n]
//   [UNION ALL SELECT ...]...
// Several `and_where` (or `and_having`) conditions are joined with AND.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"

namespace sqlbuilder {

enum class JoinType { Inner, Left, Right, Full, Cross };

class Select {
 public:
  Select& distinct();

  // A select item, unnamed or with AS "alias".
  Select& expr(Expr e);
  Select& expr_as(Expr e, Iden alias);

  // The source: "t", "t" AS "a", or (SELECT ...) AS "a".
  Select& from(Iden table);
  Select& from_as(Iden table, Iden alias);
  Select& from_subquery(Select query, Iden alias);

  // [INNER | LEFT | RIGHT | FULL | CROSS] JOIN source [ON condition]; a cross
  // join takes no condition.
  Select& join(JoinType type, Iden table, Expr on);
  Select& join_as(JoinType type, Iden table, Iden alias, Expr on);
  Select& join_subquery(JoinType type, Select query, Iden alias, Expr on);
  Select& cross_join(Iden table);

  Select& and_where(Expr condition);
  Select& group_by(Expr e);
  Select& and_having(Expr condition);
  Select& order_by(Expr e, Order order = Order::Asc);
  Select& limit(std::uint64_t count);

  // ... UNION ALL <query>
  Select& union_all(Select query);
  // WITH "name" AS (<query>) in front of this select.
  Select& with(Iden name, Select query);

  // Number of select items (the first select's, for a UNION ALL).
  std::size_t width() const;

 private:
  // Private members are the implementation's choice (value semantics:
  // copying a Select copies the statement).
};

}  // namespace sqlbuilder
