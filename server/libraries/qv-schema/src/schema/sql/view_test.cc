#include "schema/sql/view.h"

#include <gtest/gtest.h>

namespace schema::sql::view {
namespace {

TEST(ViewDef, NameIsBareAndQueryHasLiterals) {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::col("id"))
      .from("users")
      .and_where(sqlbuilder::col("name").eq(sqlbuilder::val(std::string("admin"))));
  const source::Derived derived = ViewDef{"users__admin", query}.derived();
  EXPECT_EQ(derived.create, std::vector<std::string>{"CREATE VIEW users__admin WITH (security_invoker = true) AS "
                                                     "SELECT \"id\" FROM \"users\" WHERE \"name\" = 'admin'"});
  EXPECT_EQ(derived.drop, std::vector<std::string>{"DROP VIEW IF EXISTS users__admin"});
}

}  // namespace
}  // namespace schema::sql::view
