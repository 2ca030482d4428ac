#pragma once
// Identifiers of the key-value table that records the schema's own state.

#include <string_view>

#include "sqlbuilder/table.h"

namespace schema {

enum class QuorvaleSystem { Table, Name, Value };

std::string_view to_string(QuorvaleSystem iden);

// CREATE TABLE IF NOT EXISTS "quorvale_system" ( "name" text NOT NULL
// PRIMARY KEY, "value" text NULL ): the database layer creates it before it
// reads the stored version.
sqlbuilder::TableCreate create_system_table();

}  // namespace schema
