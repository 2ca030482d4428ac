#include "schema/sql/quote.h"

#include "sqlbuilder/expr.h"
#include "sqlbuilder/render.h"

namespace schema::sql::quote {

std::string quoted(const sqlbuilder::Iden& iden) { return sqlbuilder::to_sql(sqlbuilder::col(iden)); }

std::string quoted_list(const std::vector<sqlbuilder::Iden>& idens) {
  std::string list;
  for (const sqlbuilder::Iden& iden : idens) {
    if (!list.empty()) list += ", ";
    list += quoted(iden);
  }
  return list;
}

}  // namespace schema::sql::quote
