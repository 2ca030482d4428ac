#include "schema/current/users.h"

#include <gtest/gtest.h>

#include "schema/render.h"

namespace schema::current::users {
namespace {

TEST(Users, Table) {
  const std::vector<sqlbuilder::TableCreate> tables = Defs().create_tables();
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(
      render::render_schema(tables[0]),
      "CREATE TABLE \"users\" ( \"id\" text NOT NULL PRIMARY KEY COLLATE \"C\", \"name\" text NOT NULL UNIQUE, "
      "\"full_name\" text NOT NULL, \"email\" text NULL UNIQUE, \"created_on\" timestamp with time zone NOT NULL, "
      "\"created_by_id\" text NOT NULL COLLATE \"C\", \"modified_on\" timestamp with time zone NOT NULL, "
      "\"modified_by_id\" text NOT NULL COLLATE \"C\", \"password_hash\" text NOT NULL, "
      "\"password_set_on\" timestamp with time zone NOT NULL, \"password_must_change\" boolean NOT NULL, "
      "\"enabled\" boolean NOT NULL, \"system\" boolean NOT NULL )");
}

TEST(Users, ViewWithNames) {
  const std::vector<sql::view::ViewDef> views = Defs().create_views();
  ASSERT_EQ(views.size(), 1u);
  const source::Derived derived = views[0].derived();
  ASSERT_EQ(derived.create.size(), 1u);
  EXPECT_TRUE(derived.create[0].starts_with(
      "CREATE VIEW users__with_names WITH (security_invoker = true) AS SELECT \"users\".*, "
      "COALESCE(created_by_user.name, '[' || users.created_by_id || ']') AS \"created_by\", "
      "COALESCE(modified_by_user.name, '[' || users.modified_by_id || ']') AS \"modified_by\" FROM \"users\" "))
      << derived.create[0];
  EXPECT_EQ(derived.drop, std::vector<std::string>{"DROP VIEW IF EXISTS users__with_names"});
}

TEST(Users, SeedsSystemUserThenAdministrator) {
  std::vector<std::string> seeds;
  for (sqlbuilder::Insert& insert : Defs().seeds()) seeds.push_back(render::render_query(std::move(insert)));
  const std::string columns =
      "INSERT INTO \"users\" (\"id\", \"name\", \"full_name\", \"email\", \"created_on\", \"created_by_id\", "
      "\"modified_on\", \"modified_by_id\", \"password_hash\", \"password_set_on\", \"password_must_change\", "
      "\"enabled\", \"system\") VALUES ";
  EXPECT_EQ(seeds, (std::vector<std::string>{
                       columns + "('00000000000000000000000000', 'system', 'System', NULL, CURRENT_TIMESTAMP, "
                                 "'00000000000000000000000000', CURRENT_TIMESTAMP, '00000000000000000000000000', '!', "
                                 "CURRENT_TIMESTAMP, false, false, true)",
                       columns + "('00000000000000000000000004', 'admin', 'Administrator', NULL, CURRENT_TIMESTAMP, "
                                 "'00000000000000000000000000', CURRENT_TIMESTAMP, '00000000000000000000000000', "
                                 "'$argon2id$v=19$m=19456,t=2,p=1$Zq3vN8pLw2XkTm5RbY7cHd$"
                                 "Vh4Qe9Ls2Kd7Wn1Bx6Jt3Mr8Pc5Gy0Fz2Ua7Nk4Ei9S', CURRENT_TIMESTAMP, false, true, false)",
                   }));
}

}  // namespace
}  // namespace schema::current::users
