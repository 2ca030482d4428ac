#include "sea_query/catalog.h"

#include <utility>

namespace sea_query::catalog {

sqlbuilder::Expr current_user() { return sqlbuilder::custom("current_user"); }

sqlbuilder::Expr session_user() { return sqlbuilder::custom("session_user"); }

sqlbuilder::Expr current_setting(std::string name) {
  return sqlbuilder::func("current_setting", {sqlbuilder::val(std::move(name))});
}

}  // namespace sea_query::catalog
