#include "sqlbuilder/column.h"

#include <utility>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder {

ColumnDef::ColumnDef(Iden name) : name_(std::move(name)) {}

ColumnDef& ColumnDef::text() { return custom_type("text"); }
ColumnDef& ColumnDef::integer() { return custom_type("integer"); }
ColumnDef& ColumnDef::big_integer() { return custom_type("bigint"); }
ColumnDef& ColumnDef::boolean() { return custom_type("boolean"); }
ColumnDef& ColumnDef::timestamp_with_time_zone() { return custom_type("timestamp with time zone"); }

ColumnDef& ColumnDef::custom_type(std::string type) {
  type_ = std::move(type);
  return *this;
}

ColumnDef& ColumnDef::null() {
  nullable_ = true;
  return *this;
}

ColumnDef& ColumnDef::not_null() {
  nullable_ = false;
  return *this;
}

ColumnDef& ColumnDef::default_value(Expr value) {
  default_ = std::move(value);
  return *this;
}

ColumnDef& ColumnDef::unique_key() {
  unique_ = true;
  return *this;
}

ColumnDef& ColumnDef::primary_key() {
  primary_key_ = true;
  return *this;
}

ColumnDef& ColumnDef::check(Expr condition) {
  check_ = std::move(condition);
  return *this;
}

ColumnDef& ColumnDef::extra(std::string clause) {
  extra_ = std::move(clause);
  return *this;
}

namespace detail {

void Writer::column(const ColumnDef& c) {
  if (!c.type_) throw BuildError("Column \"" + c.name_.text() + "\" has no type");
  iden(c.name_);
  text(" ");
  text(*c.type_);
  if (c.nullable_) text(*c.nullable_ ? " NULL" : " NOT NULL");
  if (c.default_) {
    text(" DEFAULT ");
    expr(*c.default_);
  }
  if (c.unique_) text(" UNIQUE");
  if (c.primary_key_) text(" PRIMARY KEY");
  if (c.check_) {
    text(" CHECK (");
    expr(*c.check_);
    text(")");
  }
  if (c.extra_) {
    text(" ");
    text(*c.extra_);
  }
}

}  // namespace detail
}  // namespace sqlbuilder
