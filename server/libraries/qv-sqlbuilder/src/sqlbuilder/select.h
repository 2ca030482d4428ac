#pragma once
// SELECT statements:
//   [WITH "a" AS (...), "b" AS (...)] SELECT [DISTINCT] x, y AS "alias"
//   FROM source [joins] [WHERE ...] [GROUP BY x, y] [HAVING ...]
//   [UNION ALL SELECT ...]... [ORDER BY x, y DESC] [LIMIT n]
// Joins read LEFT JOIN "t" AS "a" ON c (likewise INNER, RIGHT, FULL) and
// CROSS JOIN "t". Several `and_where` (or `and_having`) conditions are joined
// with AND. ORDER BY and LIMIT apply to the whole union; a branch with a
// WITH, ORDER BY, LIMIT or UNION ALL of its own is written in brackets.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/table_ref.h"

namespace sqlbuilder {

namespace detail {
class Writer;
}

enum class JoinType { Inner, Left, Right, Full, Cross };

class Select {
 public:
  Select& distinct();

  // A select item, unnamed or with AS "alias".
  Select& expr(Expr e);
  Select& expr_as(Expr e, Iden alias);

  // The source: "t", "s"."t", "t" AS "a", or (SELECT ...) AS "a".
  Select& from(Iden table);
  Select& from_in_schema(Iden schema, Iden table);
  Select& from_as(Iden table, Iden alias);
  Select& from_subquery(Select query, Iden alias);

  // [INNER | LEFT | RIGHT | FULL | CROSS] JOIN source [ON condition]; a cross
  // join takes no condition (JoinType::Cross here is a BuildError).
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
  friend class detail::Writer;

  struct Item {
    Expr expr;
    std::optional<Iden> alias;
  };
  struct Join {
    JoinType type;
    detail::TableRef source;
    std::optional<Expr> on;
  };
  struct CommonTable {
    Iden name;
    std::shared_ptr<const Select> query;
  };

  // Nested selects are shared and never changed once added, so copying a
  // Select copies the statement.
  std::vector<CommonTable> with_;
  bool distinct_ = false;
  std::vector<Item> items_;
  std::optional<detail::TableRef> from_;
  std::vector<Join> joins_;
  std::vector<Expr> where_;
  std::vector<Expr> group_by_;
  std::vector<Expr> having_;
  std::vector<std::pair<Expr, Order>> order_by_;
  std::optional<std::uint64_t> limit_;
  std::vector<std::shared_ptr<const Select>> unions_;
};

}  // namespace sqlbuilder
