#pragma once
// Column constructors that fix the types of identifier columns.

#include "sqlbuilder/column.h"
#include "sqlbuilder/iden.h"

namespace schema::sql {

// text with COLLATE "C" (written after every other clause of the column).
sqlbuilder::ColumnDef id_column(sqlbuilder::Iden column);
// bigint.
sqlbuilder::ColumnDef logical_id_column(sqlbuilder::Iden column);

}  // namespace schema::sql
