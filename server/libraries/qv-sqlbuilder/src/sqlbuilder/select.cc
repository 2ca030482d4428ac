#include "sqlbuilder/select.h"

#include <memory>
#include <string_view>
#include <utility>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder {
namespace {

std::string_view join_keyword(JoinType type) {
  switch (type) {
    case JoinType::Inner:
      return " INNER JOIN ";
    case JoinType::Left:
      return " LEFT JOIN ";
    case JoinType::Right:
      return " RIGHT JOIN ";
    case JoinType::Full:
      return " FULL JOIN ";
    case JoinType::Cross:
      return " CROSS JOIN ";
  }
  return "";
}

detail::TableRef table_ref(Iden table, std::optional<Iden> alias) {
  return detail::TableRef{std::move(table), nullptr, std::move(alias)};
}

detail::TableRef subquery_ref(Select query, Iden alias) {
  return detail::TableRef{std::nullopt, std::make_shared<const Select>(std::move(query)), std::move(alias)};
}

}  // namespace

Select& Select::distinct() {
  distinct_ = true;
  return *this;
}

Select& Select::expr(Expr e) {
  items_.push_back(Item{std::move(e), std::nullopt});
  return *this;
}

Select& Select::expr_as(Expr e, Iden alias) {
  items_.push_back(Item{std::move(e), std::move(alias)});
  return *this;
}

Select& Select::from(Iden table) {
  from_ = table_ref(std::move(table), std::nullopt);
  return *this;
}

Select& Select::from_in_schema(Iden schema, Iden table) {
  from_ = detail::TableRef{std::move(table), nullptr, std::nullopt, std::move(schema)};
  return *this;
}

Select& Select::from_as(Iden table, Iden alias) {
  from_ = table_ref(std::move(table), std::move(alias));
  return *this;
}

Select& Select::from_subquery(Select query, Iden alias) {
  from_ = subquery_ref(std::move(query), std::move(alias));
  return *this;
}

Select& Select::join(JoinType type, Iden table, Expr on) {
  if (type == JoinType::Cross) throw BuildError("A cross join takes no condition");
  joins_.push_back(Join{type, table_ref(std::move(table), std::nullopt), std::move(on)});
  return *this;
}

Select& Select::join_as(JoinType type, Iden table, Iden alias, Expr on) {
  if (type == JoinType::Cross) throw BuildError("A cross join takes no condition");
  joins_.push_back(Join{type, table_ref(std::move(table), std::move(alias)), std::move(on)});
  return *this;
}

Select& Select::join_subquery(JoinType type, Select query, Iden alias, Expr on) {
  if (type == JoinType::Cross) throw BuildError("A cross join takes no condition");
  joins_.push_back(Join{type, subquery_ref(std::move(query), std::move(alias)), std::move(on)});
  return *this;
}

Select& Select::cross_join(Iden table) {
  joins_.push_back(Join{JoinType::Cross, table_ref(std::move(table), std::nullopt), std::nullopt});
  return *this;
}

Select& Select::and_where(Expr condition) {
  where_.push_back(std::move(condition));
  return *this;
}

Select& Select::group_by(Expr e) {
  group_by_.push_back(std::move(e));
  return *this;
}

Select& Select::and_having(Expr condition) {
  having_.push_back(std::move(condition));
  return *this;
}

Select& Select::order_by(Expr e, Order order) {
  order_by_.emplace_back(std::move(e), order);
  return *this;
}

Select& Select::limit(std::uint64_t count) {
  limit_ = count;
  return *this;
}

Select& Select::union_all(Select query) {
  unions_.push_back(std::make_shared<const Select>(std::move(query)));
  return *this;
}

Select& Select::with(Iden name, Select query) {
  with_.push_back(CommonTable{std::move(name), std::make_shared<const Select>(std::move(query))});
  return *this;
}

std::size_t Select::width() const { return items_.size(); }

namespace detail {

void Writer::with_clause(const Select& s) {
  if (s.with_.empty()) return;
  text("WITH ");
  list(s.with_, [this](const Select::CommonTable& table) {
    iden(table.name);
    text(" AS (");
    select(*table.query);
    text(")");
  });
  text(" ");
}

void Writer::joins(const Select& s) {
  for (const Select::Join& join : s.joins_) {
    text(join_keyword(join.type));
    table_ref(join.source);
    if (join.on) {
      text(" ON ");
      expr(*join.on);
    }
  }
}

void Writer::union_branches(const Select& s) {
  for (const auto& branch : s.unions_) {
    // ORDER BY, LIMIT, WITH and UNION ALL of a branch would bind to the
    // whole union without brackets.
    const bool brackets =
        !branch->with_.empty() || !branch->order_by_.empty() || branch->limit_ || !branch->unions_.empty();
    text(brackets ? " UNION ALL (" : " UNION ALL ");
    select(*branch);
    if (brackets) text(")");
  }
}

void Writer::select(const Select& s) {
  with_clause(s);
  text(s.distinct_ ? "SELECT DISTINCT " : "SELECT ");
  list(s.items_, [this](const Select::Item& item) {
    expr(item.expr);
    if (item.alias) {
      text(" AS ");
      iden(*item.alias);
    }
  });
  if (s.from_) {
    text(" FROM ");
    table_ref(*s.from_);
  }
  joins(s);
  conditions("WHERE", s.where_);
  if (!s.group_by_.empty()) {
    text(" GROUP BY ");
    list(s.group_by_, [this](const Expr& e) { expr(e); });
  }
  conditions("HAVING", s.having_);
  union_branches(s);
  if (!s.order_by_.empty()) {
    text(" ORDER BY ");
    orders(s.order_by_);
  }
  if (s.limit_) text(" LIMIT " + std::to_string(*s.limit_));
}

}  // namespace detail
}  // namespace sqlbuilder
