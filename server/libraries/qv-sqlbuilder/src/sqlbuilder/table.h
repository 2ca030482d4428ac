#pragma once
// Table DDL.
//   CREATE TABLE [IF NOT EXISTS] "t" ( <column>, ..., PRIMARY KEY ("a", "b"),
//     FOREIGN KEY ("x") REFERENCES "u" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, ... )
//   (elements in the order columns, table key, foreign keys; "( " and " )"
//   around them, ", " between them)
//
//   ALTER TABLE "t" <clause>, <clause>, ...   clauses in the order given:
//     ADD COLUMN <column>
//     ALTER COLUMN "c" TYPE type[, ALTER COLUMN "c" SET NOT NULL | DROP NOT NULL]
//       [, ALTER COLUMN "c" SET DEFAULT x]          (modify_column; other
//       column clauses are a BuildError)
//     DROP COLUMN "c"
//     ADD FOREIGN KEY ("x") REFERENCES "u" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT
//     DROP CONSTRAINT "name"
// Every foreign key is unnamed and RESTRICT on delete and update.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sqlbuilder/column.h"
#include "sqlbuilder/iden.h"

namespace sqlbuilder {

namespace detail {
class Writer;

struct ForeignKey {
  std::vector<Iden> columns;
  Iden target;
  std::vector<Iden> target_columns;
};
}  // namespace detail

class TableCreate {
 public:
  TableCreate& table(Iden table);
  TableCreate& if_not_exists();
  TableCreate& col(ColumnDef column);
  // A table-level PRIMARY KEY over several columns.
  TableCreate& primary_key(std::vector<Iden> columns);
  TableCreate& foreign_key(std::vector<Iden> columns, Iden target, std::vector<Iden> target_columns);

  const std::string& table_name() const;
  std::vector<std::string> column_names() const;

 private:
  friend class detail::Writer;

  std::optional<Iden> table_;
  bool if_not_exists_ = false;
  std::vector<ColumnDef> columns_;
  std::vector<Iden> primary_key_;
  std::vector<detail::ForeignKey> foreign_keys_;
};

class TableAlter {
 public:
  TableAlter& table(Iden table);
  TableAlter& add_column(ColumnDef column);
  // Changes type, nullability and default of an existing column, as far as
  // `column` sets them (a type is required).
  TableAlter& modify_column(ColumnDef column);
  TableAlter& drop_column(Iden column);
  TableAlter& add_foreign_key(std::vector<Iden> columns, Iden target, std::vector<Iden> target_columns);
  TableAlter& drop_constraint(Iden name);

 private:
  friend class detail::Writer;

  struct AddColumn {
    ColumnDef column;
  };
  struct ModifyColumn {
    ColumnDef column;
  };
  struct DropColumn {
    Iden column;
  };
  struct DropConstraint {
    Iden name;
  };
  using Clause = std::variant<AddColumn, ModifyColumn, DropColumn, detail::ForeignKey, DropConstraint>;

  std::optional<Iden> table_;
  // Rendering with no clause at all throws BuildError "No alter option found".
  std::vector<Clause> clauses_;
};

}  // namespace sqlbuilder
