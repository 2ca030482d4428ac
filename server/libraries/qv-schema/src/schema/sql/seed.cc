#include "schema/sql/seed.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace schema::sql::seed {

sqlbuilder::Insert insert_select(sqlbuilder::Iden table, std::vector<sqlbuilder::Iden> columns,
                                 sqlbuilder::Select rows) {
  if (rows.width() != columns.size()) {
    std::fputs("select_from on seed InsertStatement\n", stderr);
    std::abort();
  }
  sqlbuilder::Insert insert;
  insert.into(std::move(table)).columns(std::move(columns)).select_from(std::move(rows));
  return insert;
}

}  // namespace schema::sql::seed
