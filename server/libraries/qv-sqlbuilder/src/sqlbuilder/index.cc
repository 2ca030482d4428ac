#include "sqlbuilder/index.h"

#include <utility>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder {

IndexCreate& IndexCreate::name(Iden name) {
  name_ = std::move(name);
  return *this;
}

IndexCreate& IndexCreate::table(Iden table) {
  table_ = std::move(table);
  return *this;
}

IndexCreate& IndexCreate::col(Iden column) {
  columns_.emplace_back(std::move(column));
  return *this;
}

IndexCreate& IndexCreate::expr_col(Expr expression) {
  columns_.emplace_back(std::move(expression));
  return *this;
}

IndexCreate& IndexCreate::unique() {
  unique_ = true;
  return *this;
}

IndexCreate& IndexCreate::and_where(Expr condition) {
  where_.push_back(std::move(condition));
  return *this;
}

std::optional<std::string> IndexCreate::index_name() const {
  if (!name_) return std::nullopt;
  return name_->text();
}

IndexDrop& IndexDrop::name(Iden name) {
  name_ = std::move(name);
  return *this;
}

IndexDrop& IndexDrop::if_exists() {
  if_exists_ = true;
  return *this;
}

namespace detail {

void Writer::index_create(const IndexCreate& s) {
  if (!s.table_) throw BuildError("Index create has no table");
  if (s.columns_.empty()) throw BuildError("Index create has no column");
  text(s.unique_ ? "CREATE UNIQUE INDEX " : "CREATE INDEX ");
  if (s.name_) {
    iden(*s.name_);
    text(" ");
  }
  text("ON ");
  iden(*s.table_);
  text(" (");
  list(s.columns_, [this](const std::variant<Iden, Expr>& column) {
    if (const auto* name = std::get_if<Iden>(&column)) {
      iden(*name);
      return;
    }
    text("(");
    expr(std::get<Expr>(column));
    text(")");
  });
  text(")");
  conditions("WHERE", s.where_);
}

void Writer::index_drop(const IndexDrop& s) {
  if (!s.name_) throw BuildError("Index drop has no name");
  text(s.if_exists_ ? "DROP INDEX IF EXISTS " : "DROP INDEX ");
  iden(*s.name_);
}

}  // namespace detail
}  // namespace sqlbuilder
