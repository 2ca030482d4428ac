#pragma once
// Seeds whose rows come from a select over rows seeded before them.

#include <vector>

#include "sqlbuilder/iden.h"
#include "sqlbuilder/insert.h"
#include "sqlbuilder/select.h"

namespace schema::sql::seed {

// INSERT INTO "table" ("a", ...) SELECT ... A select whose width differs from
// the column count is a defect of the catalog: the program stops with
// "select_from on seed InsertStatement".
sqlbuilder::Insert insert_select(sqlbuilder::Iden table, std::vector<sqlbuilder::Iden> columns,
                                 sqlbuilder::Select rows);

}  // namespace schema::sql::seed
