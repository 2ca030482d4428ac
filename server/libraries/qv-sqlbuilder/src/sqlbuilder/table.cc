#include "sqlbuilder/table.h"

#include <utility>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder {

TableCreate& TableCreate::table(Iden table) {
  table_ = std::move(table);
  return *this;
}

TableCreate& TableCreate::if_not_exists() {
  if_not_exists_ = true;
  return *this;
}

TableCreate& TableCreate::col(ColumnDef column) {
  columns_.push_back(std::move(column));
  return *this;
}

TableCreate& TableCreate::primary_key(std::vector<Iden> columns) {
  primary_key_ = std::move(columns);
  return *this;
}

TableCreate& TableCreate::foreign_key(std::vector<Iden> columns, Iden target, std::vector<Iden> target_columns) {
  foreign_keys_.push_back(detail::ForeignKey{std::move(columns), std::move(target), std::move(target_columns)});
  return *this;
}

const std::string& TableCreate::table_name() const {
  static const std::string kNone;
  return table_ ? table_->text() : kNone;
}

std::vector<std::string> TableCreate::column_names() const {
  std::vector<std::string> names;
  names.reserve(columns_.size());
  for (const ColumnDef& column : columns_) names.push_back(column.name().text());
  return names;
}

namespace detail {

void Writer::foreign_key(const ForeignKey& key) {
  text("FOREIGN KEY (");
  idens(key.columns);
  text(") REFERENCES ");
  iden(key.target);
  text(" (");
  idens(key.target_columns);
  text(") ON DELETE RESTRICT ON UPDATE RESTRICT");
}

void Writer::table_create(const TableCreate& s) {
  if (!s.table_) throw BuildError("Table create has no table");
  text(s.if_not_exists_ ? "CREATE TABLE IF NOT EXISTS " : "CREATE TABLE ");
  iden(*s.table_);
  text(" ( ");
  list(s.columns_, [this](const ColumnDef& c) { column(c); });
  bool first = s.columns_.empty();
  auto separate = [this, &first] {
    if (!first) text(", ");
    first = false;
  };
  if (!s.primary_key_.empty()) {
    separate();
    text("PRIMARY KEY (");
    idens(s.primary_key_);
    text(")");
  }
  for (const ForeignKey& key : s.foreign_keys_) {
    separate();
    foreign_key(key);
  }
  text(" )");
}

}  // namespace detail
}  // namespace sqlbuilder
