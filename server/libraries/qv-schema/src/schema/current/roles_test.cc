#include "schema/current/roles.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::roles {
namespace {

using Texts = std::vector<std::string>;

TEST(Roles, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "roles" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "name" text NOT NULL, )sql"
      R"sql("description" text NOT NULL, "created_on" timestamp with time zone NOT NULL, "created_by_id" )sql"
      R"sql(text NOT NULL COLLATE "C", "modified_on" timestamp with time zone NOT NULL, "modified_by_id" )sql"
      R"sql(text NOT NULL COLLATE "C", "kind" text NOT NULL, "project_id" text NULL COLLATE "C", "fixed" )sql"
      R"sql(boolean NOT NULL, FOREIGN KEY ("project_id") REFERENCES "projects" ("id") ON DELETE RESTRICT )sql"
      R"sql(ON UPDATE RESTRICT ))sql"
  }));
}

TEST(Roles, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "roles___project_id___idx" ON "roles" ("project_id"))sql",
      R"sql(CREATE UNIQUE INDEX "roles___name___uidx" ON "roles" ("name") WHERE "name" IS NOT NULL)sql"
  }));
}

TEST(Roles, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW roles__with_names WITH (security_invoker = true) AS SELECT "roles"."id", )sql"
      R"sql("roles"."name", "roles"."description", "roles"."created_on", "roles"."created_by_id", )sql"
      R"sql(COALESCE(created_by_user.name, '[' || roles.created_by_id || ']') AS "created_by", )sql"
      R"sql("roles"."modified_on", "roles"."modified_by_id", COALESCE(modified_by_user.name, '[' || )sql"
      R"sql(roles.modified_by_id || ']') AS "modified_by", "roles"."kind", "roles"."project_id", )sql"
      R"sql("roles"."fixed" FROM "roles" LEFT JOIN "users" AS "created_by_user" ON "roles"."created_by_id" )sql"
      R"sql(= "created_by_user"."id" LEFT JOIN "users" AS "modified_by_user" ON "roles"."modified_by_id" = )sql"
      R"sql("modified_by_user"."id")sql"
  }));
}

TEST(Roles, Seeds) {
  EXPECT_EQ(entity_texts::seeds(Defs()), (Texts{
      R"sql(INSERT INTO "roles" ("id", "name", "description", "created_on", "created_by_id", )sql"
      R"sql("modified_on", "modified_by_id", "kind", "project_id", "fixed") VALUES )sql"
      R"sql(('00000000000000000000000008', 'sys_admin', 'System Administrator Role', CURRENT_TIMESTAMP, )sql"
      R"sql('00000000000000000000000000', CURRENT_TIMESTAMP, '00000000000000000000000000', 'sys_admin', )sql"
      R"sql(NULL, true))sql",
      R"sql(INSERT INTO "roles" ("id", "name", "description", "created_on", "created_by_id", )sql"
      R"sql("modified_on", "modified_by_id", "kind", "project_id", "fixed") VALUES )sql"
      R"sql(('0000000000000000000000000g', 'default', 'Default Role', CURRENT_TIMESTAMP, )sql"
      R"sql('00000000000000000000000000', CURRENT_TIMESTAMP, '00000000000000000000000000', 'default', )sql"
      R"sql(NULL, true))sql",
      R"sql(INSERT INTO "roles" ("id", "name", "description", "created_on", "created_by_id", )sql"
      R"sql("modified_on", "modified_by_id", "kind", "project_id", "fixed") VALUES )sql"
      R"sql(('0000000000000000000000020o', 'project_creator', 'Project Creator Role', CURRENT_TIMESTAMP, )sql"
      R"sql('00000000000000000000000000', CURRENT_TIMESTAMP, '00000000000000000000000000', )sql"
      R"sql('project_creator', NULL, true))sql"
  }));
}

}  // namespace
}  // namespace schema::current::roles
