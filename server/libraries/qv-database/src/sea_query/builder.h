#pragma once

// Builder statements as they run here: PostgreSQL text with every value
// replaced by a numbered placeholder ($1, $2, ... in order of appearance) and
// the values beside it, each bound with the type of its kind.

#include <string>
#include <vector>

#include "connection/param.h"
#include "sqlbuilder/insert.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/update.h"

namespace sea_query::builder {

struct BuiltStatement {
  std::string sql;
  std::vector<connection::Param> values;
};

BuiltStatement build_sea_query(const sqlbuilder::Select& statement);
BuiltStatement build_sea_query(const sqlbuilder::Insert& statement);
BuiltStatement build_sea_query(const sqlbuilder::Update& statement);

}  // namespace sea_query::builder
