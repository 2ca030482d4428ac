#include "schema/current/permissions.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::permissions {
namespace {

using Texts = std::vector<std::string>;

TEST(Permissions, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "permissions" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "role_id" text NOT )sql"
      R"sql(NULL COLLATE "C", "permission_type" text NOT NULL, "entity_type" text NOT NULL, "entity_id" )sql"
      R"sql(text NOT NULL COLLATE "C", "granted_by_id" text NOT NULL COLLATE "C", "granted_on" timestamp )sql"
      R"sql(with time zone NOT NULL, "fixed" boolean NOT NULL, FOREIGN KEY ("role_id") REFERENCES "roles" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql"
  }));
}

TEST(Permissions, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE UNIQUE INDEX "permissions___role_id__permission_type__entity___idx" ON "permissions" )sql"
      R"sql(("role_id", "permission_type", "entity_type", "entity_id"))sql"
  }));
}

TEST(Permissions, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW permissions__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("permissions"."id", "permissions"."role_id", "permissions"."permission_type", )sql"
      R"sql("permissions"."entity_type", "permissions"."granted_by_id", "permissions"."granted_on", )sql"
      R"sql("permissions"."fixed", COALESCE(users.name, '[' || permissions.granted_by_id || ']') AS )sql"
      R"sql("granted_by", CASE WHEN "permissions"."entity_id" = '00000000000000000000000204' THEN NULL )sql"
      R"sql(ELSE "permissions"."entity_id" END AS "entity_id", "roles"."name" AS "role", )sql"
      R"sql("projects_resolved"."name" AS "entity" FROM "permissions" LEFT JOIN "users" ON )sql"
      R"sql("permissions"."granted_by_id" = "users"."id" LEFT JOIN "roles" ON "permissions"."role_id" = )sql"
      R"sql("roles"."id" LEFT JOIN "projects_resolved" ON "permissions"."entity_id" = )sql"
      R"sql("projects_resolved"."id")sql"
  }));
}

TEST(Permissions, Seeds) {
  EXPECT_EQ(entity_texts::seeds(Defs()), (Texts{
      R"sql(INSERT INTO "permissions" ("id", "role_id", "permission_type", "entity_type", "entity_id", )sql"
      R"sql("granted_by_id", "granted_on", "fixed") SELECT '00000000000000000000000010', "roles"."id", )sql"
      R"sql('manage_access', 'system', '00000000000000000000000204', '00000000000000000000000000', )sql"
      R"sql(CURRENT_TIMESTAMP, true FROM "roles" WHERE "roles"."name" = 'sys_admin')sql",
      R"sql(INSERT INTO "permissions" ("id", "role_id", "permission_type", "entity_type", "entity_id", )sql"
      R"sql("granted_by_id", "granted_on", "fixed") SELECT '00000000000000000000000014', "roles"."id", )sql"
      R"sql('create_projects', 'system', '00000000000000000000000204', '00000000000000000000000000', )sql"
      R"sql(CURRENT_TIMESTAMP, true FROM "roles" WHERE "roles"."name" = 'sys_admin')sql",
      R"sql(INSERT INTO "permissions" ("id", "role_id", "permission_type", "entity_type", "entity_id", )sql"
      R"sql("granted_by_id", "granted_on", "fixed") SELECT '00000000000000000000000100', "roles"."id", )sql"
      R"sql('manage_roles', 'system', '00000000000000000000000204', '00000000000000000000000000', )sql"
      R"sql(CURRENT_TIMESTAMP, true FROM "roles" WHERE "roles"."name" = 'sys_admin')sql",
      R"sql(INSERT INTO "permissions" ("id", "role_id", "permission_type", "entity_type", "entity_id", )sql"
      R"sql("granted_by_id", "granted_on", "fixed") SELECT '00000000000000000000000104', "roles"."id", )sql"
      R"sql('manage_project', 'project', '00000000000000000000000204', '00000000000000000000000000', )sql"
      R"sql(CURRENT_TIMESTAMP, true FROM "roles" WHERE "roles"."name" = 'sys_admin')sql",
      R"sql(INSERT INTO "permissions" ("id", "role_id", "permission_type", "entity_type", "entity_id", )sql"
      R"sql("granted_by_id", "granted_on", "fixed") SELECT '00000000000000000000000108', "roles"."id", )sql"
      R"sql('create_projects', 'system', '00000000000000000000000204', '00000000000000000000000000', )sql"
      R"sql(CURRENT_TIMESTAMP, false FROM "roles" WHERE "roles"."name" = 'default')sql",
      R"sql(INSERT INTO "permissions" ("id", "role_id", "permission_type", "entity_type", "entity_id", )sql"
      R"sql("granted_by_id", "granted_on", "fixed") SELECT '0000000000000000000000020s', "roles"."id", )sql"
      R"sql('create_projects', 'system', '00000000000000000000000204', '00000000000000000000000000', )sql"
      R"sql(CURRENT_TIMESTAMP, true FROM "roles" WHERE "roles"."name" = 'project_creator')sql"
  }));
}

}  // namespace
}  // namespace schema::current::permissions
