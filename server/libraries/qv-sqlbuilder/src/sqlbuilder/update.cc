#include "sqlbuilder/update.h"

#include <memory>
#include <utility>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder {

Update& Update::table(Iden table) {
  table_ = std::move(table);
  alias_.reset();
  return *this;
}

Update& Update::table_as(Iden table, Iden alias) {
  table_ = std::move(table);
  alias_ = std::move(alias);
  return *this;
}

Update& Update::set(Iden column, Expr value) {
  sets_.emplace_back(std::move(column), std::move(value));
  return *this;
}

Update& Update::from(Iden table) {
  from_ = detail::TableRef{std::move(table), nullptr, std::nullopt};
  return *this;
}

Update& Update::from_as(Iden table, Iden alias) {
  from_ = detail::TableRef{std::move(table), nullptr, std::move(alias)};
  return *this;
}

Update& Update::from_subquery(Select query, Iden alias) {
  from_ = detail::TableRef{std::nullopt, std::make_shared<const Select>(std::move(query)), std::move(alias)};
  return *this;
}

Update& Update::and_where(Expr condition) {
  where_.push_back(std::move(condition));
  return *this;
}

namespace detail {

void Writer::update(const Update& s) {
  if (!s.table_) throw BuildError("Update has no table");
  if (s.sets_.empty()) throw BuildError("Update sets no column");
  text("UPDATE ");
  iden(*s.table_);
  if (s.alias_) {
    text(" AS ");
    iden(*s.alias_);
  }
  text(" SET ");
  list(s.sets_, [this](const std::pair<Iden, Expr>& set) {
    iden(set.first);
    text(" = ");
    expr(set.second);
  });
  if (s.from_) {
    text(" FROM ");
    table_ref(*s.from_);
  }
  conditions("WHERE", s.where_);
}

}  // namespace detail
}  // namespace sqlbuilder
