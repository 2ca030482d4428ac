#include "schema/current/users_roles.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::users_roles {
namespace {

using Texts = std::vector<std::string>;

TEST(UsersRoles, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "users_roles" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "user_id" text NOT )sql"
      R"sql(NULL COLLATE "C", "role_id" text NOT NULL COLLATE "C", "added_on" timestamp with time zone NOT )sql"
      R"sql(NULL, "added_by_id" text NOT NULL COLLATE "C", "fixed" boolean NOT NULL, FOREIGN KEY )sql"
      R"sql(("user_id") REFERENCES "users" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("role_id") REFERENCES "roles" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql"
  }));
}

TEST(UsersRoles, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "users_roles___role_id__id___idx" ON "users_roles" ("role_id", "id"))sql",
      R"sql(CREATE UNIQUE INDEX "roles___user_id__role_id___idx" ON "users_roles" ("user_id", "role_id"))sql"
  }));
}

TEST(UsersRoles, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW users_roles__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("users_roles"."id", "users_roles"."user_id", COALESCE(users.name, '[' || users_roles.user_id )sql"
      R"sql(|| ']') AS "user", "users_roles"."role_id", COALESCE(roles.name, '[' || users_roles.role_id || )sql"
      R"sql(']') AS "role", "users_roles"."added_on", "users_roles"."added_by_id", )sql"
      R"sql(COALESCE(added_by_user.name, '[' || users_roles.added_by_id || ']') AS "added_by", )sql"
      R"sql("users_roles"."fixed" FROM "users_roles" LEFT JOIN "users" ON "users_roles"."user_id" = )sql"
      R"sql("users"."id" LEFT JOIN "roles" ON "users_roles"."role_id" = "roles"."id" LEFT JOIN "users" AS )sql"
      R"sql("added_by_user" ON "users_roles"."added_by_id" = "added_by_user"."id")sql"
  }));
}

TEST(UsersRoles, Seeds) {
  EXPECT_EQ(entity_texts::seeds(Defs()), (Texts{
      R"sql(INSERT INTO "users_roles" ("id", "user_id", "role_id", "added_on", "added_by_id", "fixed") )sql"
      R"sql(SELECT '0000000000000000000000000k', "users"."id", "roles"."id", CURRENT_TIMESTAMP, )sql"
      R"sql('00000000000000000000000000', true FROM "users" CROSS JOIN "roles" WHERE "users"."name" = )sql"
      R"sql('admin' AND "roles"."name" = 'sys_admin')sql",
      R"sql(INSERT INTO "users_roles" ("id", "user_id", "role_id", "added_on", "added_by_id", "fixed") )sql"
      R"sql(SELECT '0000000000000000000000000o', "users"."id", "roles"."id", CURRENT_TIMESTAMP, )sql"
      R"sql('00000000000000000000000000', true FROM "users" CROSS JOIN "roles" WHERE "users"."name" = )sql"
      R"sql('admin' AND "roles"."name" = 'default')sql"
  }));
}

}  // namespace
}  // namespace schema::current::users_roles
