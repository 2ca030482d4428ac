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
//       [, ALTER COLUMN "c" SET DEFAULT x]          (modify_column)
//     DROP COLUMN "c"
//     ADD FOREIGN KEY ("x") REFERENCES "u" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT
//     DROP CONSTRAINT "name"
// Every foreign key is unnamed and RESTRICT on delete and update.

#include <string>
#include <vector>

#include "sqlbuilder/column.h"
#include "sqlbuilder/iden.h"

namespace sqlbuilder {

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
  // Implementation's choice.
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
  // Implementation's choice. Rendering with no clause at all throws
  // BuildError "No alter option found".
};

}  // namespace sqlbuilder
