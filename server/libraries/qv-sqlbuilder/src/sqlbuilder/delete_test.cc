#include "sqlbuilder/delete.h"

#include <gtest/gtest.h>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/render.h"

namespace sqlbuilder {
namespace {

TEST(Delete, Forms) {
  Delete all;
  all.from("sessions");
  EXPECT_EQ(to_sql(all), R"(DELETE FROM "sessions")");
  EXPECT_TRUE(build(all).values.empty());

  Delete one;
  one.from("sessions").and_where(col("access_token_id").eq(val("k0000000000000000000000004")));
  EXPECT_EQ(to_sql(one), R"(DELETE FROM "sessions" WHERE "access_token_id" = 'k0000000000000000000000004')");
  const Built built = build(one);
  EXPECT_EQ(built.sql, R"(DELETE FROM "sessions" WHERE "access_token_id" = $1)");
  EXPECT_EQ(built.values, std::vector<Value>{"k0000000000000000000000004"});

  Delete orphans;
  orphans.from("users_roles")
      .and_where(col("user_id").not_in(Select().expr(col("id")).from("users")))
      .and_where(col("role_id").ne(val(3)));
  EXPECT_EQ(to_sql(orphans),
            R"(DELETE FROM "users_roles" WHERE "user_id" NOT IN (SELECT "id" FROM "users") AND "role_id" <> 3)");
}

TEST(Delete, NeedsATable) { EXPECT_THROW(to_sql(Delete()), BuildError); }

}  // namespace
}  // namespace sqlbuilder
