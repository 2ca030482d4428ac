#include "sea_query/builder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "sea_query/catalog.h"

namespace sea_query::builder {
namespace {

using sqlbuilder::col;
using sqlbuilder::val;

TEST(BuildSeaQuery, LiteralsBecomePlaceholdersInOrderOfAppearance) {
  sqlbuilder::Select select;
  select.expr(col("id"))
      .from("users")
      .and_where(col("name").eq(val(std::string("o'hara"))))
      .and_where(col("age").gt(val(std::int32_t{7})))
      .and_where(col("enabled").eq(val(true)))
      .and_where(col("email").is_distinct_from(val(sqlbuilder::Null{})));
  BuiltStatement built = build_sea_query(select);
  EXPECT_EQ(built.sql,
            R"(SELECT "id" FROM "users" WHERE "name" = $1 AND "age" > $2 AND "enabled" = $3 AND )"
            R"("email" IS DISTINCT FROM $4)");
  EXPECT_EQ(built.values, (std::vector<connection::Param>{std::string("o'hara"), std::int32_t{7}, true,
                                                          connection::Null{}}));
}

TEST(Catalog, CurrentUserIsABareKeywordAndCurrentSettingBindsItsName) {
  sqlbuilder::Select select;
  select.expr(catalog::current_user()).expr(catalog::current_setting("app.project_id"));
  BuiltStatement built = build_sea_query(select);
  EXPECT_EQ(built.sql, "SELECT current_user, current_setting($1)");
  EXPECT_EQ(built.values, (std::vector<connection::Param>{std::string("app.project_id")}));
}

}  // namespace
}  // namespace sea_query::builder
