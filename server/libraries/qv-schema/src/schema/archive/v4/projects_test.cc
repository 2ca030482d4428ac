#include "schema/archive/v4/projects.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::projects {
namespace {

using Texts = std::vector<std::string>;

TEST(V4Projects, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "projects" ( "id" text NOT NULL PRIMARY KEY, "name" text NOT NULL UNIQUE, )sql"
      R"sql("description" text NOT NULL, "base_path" text NOT NULL, "created_on" timestamp with time zone )sql"
      R"sql(NOT NULL, "created_by_id" text NOT NULL, "modified_on" timestamp with time zone NOT NULL, )sql"
      R"sql("modified_by_id" text NOT NULL, "name_when_deleted" text NULL ))sql"
  }));
}

TEST(V4Projects, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "projects___resolved_name___idx" ON "projects" ((COALESCE("name_when_deleted", )sql"
      R"sql("name"))))sql"
  }));
}

TEST(V4Projects, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW projects_resolved WITH (security_invoker = true) AS SELECT "id", )sql"
      R"sql(COALESCE("name_when_deleted", "name") AS "name", "description", "base_path", "created_on", )sql"
      R"sql("created_by_id", "modified_on", "modified_by_id", "name_when_deleted", "name_when_deleted" IS )sql"
      R"sql(NOT NULL AS "deleted" FROM "projects")sql",
      R"sql(CREATE VIEW projects_active WITH (security_invoker = true) AS SELECT "projects_resolved"."id", )sql"
      R"sql("projects_resolved"."name", "projects_resolved"."description", )sql"
      R"sql("projects_resolved"."base_path", "projects_resolved"."created_on", )sql"
      R"sql("projects_resolved"."created_by_id", "projects_resolved"."modified_on", )sql"
      R"sql("projects_resolved"."modified_by_id" FROM "projects_resolved" WHERE )sql"
      R"sql("projects_resolved"."name_when_deleted" IS NULL)sql",
      R"sql(CREATE VIEW projects__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("projects_active"."id", "projects_active"."name", "projects_active"."description", )sql"
      R"sql("projects_active"."base_path", "projects_active"."created_on", )sql"
      R"sql("projects_active"."created_by_id", COALESCE(created_by_user.name, '[' || )sql"
      R"sql(projects_active.created_by_id || ']') AS "created_by", "projects_active"."modified_on", )sql"
      R"sql("projects_active"."modified_by_id", COALESCE(modified_by_user.name, '[' || )sql"
      R"sql(projects_active.modified_by_id || ']') AS "modified_by" FROM "projects_active" LEFT JOIN )sql"
      R"sql("users" AS "created_by_user" ON "projects_active"."created_by_id" = "created_by_user"."id" )sql"
      R"sql(LEFT JOIN "users" AS "modified_by_user" ON "projects_active"."modified_by_id" = )sql"
      R"sql("modified_by_user"."id")sql"
  }));
}

}  // namespace
}  // namespace schema::archive::v4::projects
