#pragma once
// Rendering for PostgreSQL. Two value modes from the same statements:
// `to_sql` writes every value inline as an SQL literal; `build` replaces each
// value by a numbered parameter $1, $2, ... in order of appearance and returns
// the values beside the text (never inlined). Neither adds a semicolon.

#include <string>
#include <vector>

#include "sqlbuilder/delete.h"
#include "sqlbuilder/index.h"
#include "sqlbuilder/insert.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/table.h"
#include "sqlbuilder/update.h"
#include "sqlbuilder/value.h"

namespace sqlbuilder {

struct Built {
  std::string sql;
  std::vector<Value> values;
};

std::string to_sql(const Select& statement);
std::string to_sql(const Insert& statement);
std::string to_sql(const Update& statement);
std::string to_sql(const Delete& statement);
std::string to_sql(const TableCreate& statement);
std::string to_sql(const TableAlter& statement);
std::string to_sql(const IndexCreate& statement);
std::string to_sql(const IndexDrop& statement);
std::string to_sql(const Expr& expression);

Built build(const Select& statement);
Built build(const Insert& statement);
Built build(const Update& statement);
Built build(const Delete& statement);

}  // namespace sqlbuilder
