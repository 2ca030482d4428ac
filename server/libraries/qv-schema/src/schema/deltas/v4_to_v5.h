#pragma once
// The step to version 5: identifier columns become text with the "C"
// collation, around a drop and re-creation of the row-level-security
// policies that read them.

#include <span>
#include <string>
#include <vector>

#include "schema/entity.h"
#include "schema/source.h"

namespace schema::deltas::v4_to_v5 {

// One ALTER TABLE per table of `entities` that has columns named "id" or
// ending in "_id", converting exactly those columns. A table statement
// without a table name stops the program.
std::vector<std::string> id_columns(std::span<const entity::Entity* const> entities);

// Converts the identifier columns of the version-4 tables.
source::Delta delta();

}  // namespace schema::deltas::v4_to_v5
