#include <type_traits>
#include <utility>
#include <variant>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/table.h"
#include "sqlbuilder/writer.h"

namespace sqlbuilder {

TableAlter& TableAlter::table(Iden table) {
  table_ = std::move(table);
  return *this;
}

TableAlter& TableAlter::add_column(ColumnDef column) {
  clauses_.emplace_back(AddColumn{std::move(column)});
  return *this;
}

TableAlter& TableAlter::modify_column(ColumnDef column) {
  clauses_.emplace_back(ModifyColumn{std::move(column)});
  return *this;
}

TableAlter& TableAlter::drop_column(Iden column) {
  clauses_.emplace_back(DropColumn{std::move(column)});
  return *this;
}

TableAlter& TableAlter::add_foreign_key(std::vector<Iden> columns, Iden target, std::vector<Iden> target_columns) {
  clauses_.emplace_back(detail::ForeignKey{std::move(columns), std::move(target), std::move(target_columns)});
  return *this;
}

TableAlter& TableAlter::drop_constraint(Iden name) {
  clauses_.emplace_back(DropConstraint{std::move(name)});
  return *this;
}

namespace detail {

void Writer::modify_column(const ColumnDef& c) {
  if (!c.type_) throw BuildError("Modify column \"" + c.name_.text() + "\" has no type");
  if (c.unique_ || c.primary_key_ || c.check_ || c.extra_) {
    throw BuildError("Modify column changes only type, nullability and default");
  }
  auto alter_column = [this, &c] {
    text("ALTER COLUMN ");
    iden(c.name_);
  };
  alter_column();
  text(" TYPE ");
  text(*c.type_);
  if (c.nullable_) {
    text(", ");
    alter_column();
    text(*c.nullable_ ? " DROP NOT NULL" : " SET NOT NULL");
  }
  if (c.default_) {
    text(", ");
    alter_column();
    text(" SET DEFAULT ");
    expr(*c.default_);
  }
}

void Writer::table_alter(const TableAlter& s) {
  if (!s.table_) throw BuildError("Table alter has no table");
  if (s.clauses_.empty()) throw BuildError("No alter option found");
  text("ALTER TABLE ");
  iden(*s.table_);
  text(" ");
  list(s.clauses_, [this](const TableAlter::Clause& clause) {
    std::visit(
        [this](const auto& c) {
          using T = std::decay_t<decltype(c)>;
          if constexpr (std::is_same_v<T, TableAlter::AddColumn>) {
            text("ADD COLUMN ");
            column(c.column);
          } else if constexpr (std::is_same_v<T, TableAlter::ModifyColumn>) {
            modify_column(c.column);
          } else if constexpr (std::is_same_v<T, TableAlter::DropColumn>) {
            text("DROP COLUMN ");
            iden(c.column);
          } else if constexpr (std::is_same_v<T, ForeignKey>) {
            text("ADD ");
            foreign_key(c);
          } else {
            text("DROP CONSTRAINT ");
            iden(c.name);
          }
        },
        clause);
  });
}

}  // namespace detail
}  // namespace sqlbuilder
