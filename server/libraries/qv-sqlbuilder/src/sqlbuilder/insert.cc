#include "sqlbuilder/insert.h"

#include <utility>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder {

OnConflict::OnConflict(std::vector<Iden> columns) : columns_(std::move(columns)) {}

OnConflict& OnConflict::update_columns(std::vector<Iden> columns) {
  for (Iden& column : columns) {
    Expr excluded = col("excluded", column);
    updates_.emplace_back(std::move(column), std::move(excluded));
  }
  return *this;
}

OnConflict& OnConflict::update_value(Iden column, Expr value) {
  updates_.emplace_back(std::move(column), std::move(value));
  return *this;
}

OnConflict& OnConflict::do_nothing() {
  do_nothing_ = true;
  return *this;
}

Insert& Insert::into(Iden table) {
  table_ = std::move(table);
  return *this;
}

Insert& Insert::columns(std::vector<Iden> columns) {
  columns_ = std::move(columns);
  return *this;
}

Insert& Insert::values(std::vector<Expr> row) {
  rows_.push_back(std::move(row));
  return *this;
}

Insert& Insert::select_from(Select query) {
  select_ = std::move(query);
  return *this;
}

Insert& Insert::on_conflict(OnConflict on_conflict) {
  on_conflict_ = std::move(on_conflict);
  return *this;
}

namespace detail {
namespace {

void check_shape(std::size_t width, const std::vector<std::vector<Expr>>& rows, const std::optional<Select>& select) {
  if (rows.empty() == !select.has_value()) throw BuildError("Insert needs either values or a select");
  for (const auto& row : rows) {
    if (row.size() != width) throw BuildError("Insert values count does not match columns count");
  }
  if (select && select->width() != width) throw BuildError("Insert select width does not match columns count");
}

}  // namespace

void Writer::insert(const Insert& s) {
  if (!s.table_) throw BuildError("Insert has no table");
  check_shape(s.columns_.size(), s.rows_, s.select_);
  text("INSERT INTO ");
  iden(*s.table_);
  text(" (");
  idens(s.columns_);
  text(") ");
  if (s.select_) {
    select(*s.select_);
  } else {
    text("VALUES ");
    list(s.rows_, [this](const std::vector<Expr>& row) {
      text("(");
      list(row, [this](const Expr& e) { expr(e); });
      text(")");
    });
  }
  if (s.on_conflict_) on_conflict(*s.on_conflict_);
}

void Writer::on_conflict(const OnConflict& c) {
  if (c.do_nothing_ == !c.updates_.empty()) throw BuildError("On conflict needs either updates or do nothing");
  text(" ON CONFLICT (");
  idens(c.columns_);
  if (c.do_nothing_) {
    text(") DO NOTHING");
    return;
  }
  text(") DO UPDATE SET ");
  list(c.updates_, [this](const std::pair<Iden, Expr>& update) {
    iden(update.first);
    text(" = ");
    expr(update.second);
  });
}

}  // namespace detail
}  // namespace sqlbuilder
