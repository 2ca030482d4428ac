#include "schema/archive/v4/collections.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::collections {
namespace {

using Texts = std::vector<std::string>;

TEST(V4Collections, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "collections" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )sql"
      R"sql("name" text NOT NULL, "description" text NOT NULL, "created_on" timestamp with time zone NOT )sql"
      R"sql(NULL, "created_by_id" text NOT NULL, "modified_on" timestamp with time zone NOT NULL, )sql"
      R"sql("modified_by_id" text NOT NULL, "name_when_deleted" text NULL, "group_id" text NOT NULL, )sql"
      R"sql("base_path" text NULL, "collection_type" text NOT NULL, "connection_id" text NULL, FOREIGN KEY )sql"
      R"sql(("project_id", "group_id") REFERENCES "groups" ("project_id", "id") ON DELETE RESTRICT ON )sql"
      R"sql(UPDATE RESTRICT, FOREIGN KEY ("project_id", "connection_id") REFERENCES "connections" )sql"
      R"sql(("project_id", "id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql"
  }));
}

TEST(V4Collections, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "collections___project_id__resolved_name___idx" ON "collections" ("project_id", )sql"
      R"sql((COALESCE("name_when_deleted", "name"))))sql",
      R"sql(CREATE INDEX "collections___project_id__group_id___idx" ON "collections" ("project_id", )sql"
      R"sql("group_id"))sql",
      R"sql(CREATE UNIQUE INDEX "collections___project_id__name___idx" ON "collections" ("project_id", )sql"
      R"sql("name"))sql",
      R"sql(CREATE INDEX "collections___project_id__id___idx" ON "collections" ("project_id", "id"))sql"
  }));
}

TEST(V4Collections, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW collections_resolved WITH (security_invoker = true) AS SELECT "collections"."id", )sql"
      R"sql("collections"."project_id", COALESCE("collections"."name_when_deleted", "collections"."name") )sql"
      R"sql(AS "name", "collections"."description", "collections"."created_on", )sql"
      R"sql("collections"."created_by_id", "collections"."modified_on", "collections"."modified_by_id", )sql"
      R"sql("collections"."name_when_deleted", "collections"."group_id", "collections"."base_path", )sql"
      R"sql("collections"."collection_type", "collections"."connection_id", )sql"
      R"sql(COALESCE("collections"."base_path", "projects"."base_path") AS "effective_base_path", )sql"
      R"sql("collections"."name_when_deleted" IS NOT NULL AS "deleted" FROM "collections" LEFT JOIN )sql"
      R"sql("projects" ON "collections"."project_id" = "projects"."id")sql",
      R"sql(CREATE VIEW collections_active WITH (security_invoker = true) AS SELECT )sql"
      R"sql("collections_resolved"."id", "collections_resolved"."project_id", )sql"
      R"sql("collections_resolved"."name", "collections_resolved"."description", )sql"
      R"sql("collections_resolved"."created_on", "collections_resolved"."created_by_id", )sql"
      R"sql("collections_resolved"."modified_on", "collections_resolved"."modified_by_id", )sql"
      R"sql("collections_resolved"."group_id", "collections_resolved"."base_path", )sql"
      R"sql("collections_resolved"."collection_type", "collections_resolved"."connection_id", )sql"
      R"sql("collections_resolved"."effective_base_path" FROM "collections_resolved" WHERE )sql"
      R"sql("collections_resolved"."name_when_deleted" IS NULL)sql",
      R"sql(CREATE VIEW collections__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("collections_active".*, COALESCE(created_by_user.name, '[' || collections_active.created_by_id )sql"
      R"sql(|| ']') AS "created_by", COALESCE(modified_by_user.name, '[' || )sql"
      R"sql(collections_active.modified_by_id || ']') AS "modified_by", "groups_for_collection"."name" AS )sql"
      R"sql("group", "projects_resolved"."name" AS "project" FROM "collections_active" LEFT JOIN "users" )sql"
      R"sql(AS "created_by_user" ON "collections_active"."created_by_id" = "created_by_user"."id" LEFT )sql"
      R"sql(JOIN "users" AS "modified_by_user" ON "collections_active"."modified_by_id" = )sql"
      R"sql("modified_by_user"."id" LEFT JOIN "groups" AS "groups_for_collection" ON )sql"
      R"sql("collections_active"."group_id" = "groups_for_collection"."id" AND )sql"
      R"sql("collections_active"."project_id" = "groups_for_collection"."project_id" INNER JOIN )sql"
      R"sql("projects_resolved" ON "collections_active"."project_id" = "projects_resolved"."id")sql"
  }));
}

}  // namespace
}  // namespace schema::archive::v4::collections
