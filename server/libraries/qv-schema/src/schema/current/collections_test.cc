#include "schema/current/collections.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::collections {
namespace {

using Texts = std::vector<std::string>;

TEST(Collections, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "collections" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "project_id" text NOT )sql"
      R"sql(NULL COLLATE "C", "name" text NOT NULL, "description" text NOT NULL, "created_on" timestamp )sql"
      R"sql(with time zone NOT NULL, "created_by_id" text NOT NULL COLLATE "C", "modified_on" timestamp )sql"
      R"sql(with time zone NOT NULL, "modified_by_id" text NOT NULL COLLATE "C", "name_when_deleted" text )sql"
      R"sql(NULL, "group_id" text NOT NULL COLLATE "C", "base_path" text NULL, "collection_type" text NOT )sql"
      R"sql(NULL, "connection_id" text NULL COLLATE "C", FOREIGN KEY ("group_id") REFERENCES "groups" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("connection_id") REFERENCES )sql"
      R"sql("connections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql"
  }));
}

TEST(Collections, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "collections___project_id__resolved_name___idx" ON "collections" ("project_id", )sql"
      R"sql((COALESCE("name_when_deleted", "name"))))sql",
      R"sql(CREATE INDEX "collections___group_id__project_id___idx" ON "collections" ("group_id", )sql"
      R"sql("project_id"))sql",
      R"sql(CREATE UNIQUE INDEX "collections___project_id__name___live_uidx" ON "collections" )sql"
      R"sql(("project_id", "name") WHERE "name_when_deleted" IS NULL)sql",
      R"sql(CREATE INDEX "collections___project_id__id___idx" ON "collections" ("project_id", "id"))sql"
  }));
}

TEST(Collections, Views) {
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
      R"sql("collections_active"."group_id" = "groups_for_collection"."id" INNER JOIN "projects_resolved" )sql"
      R"sql(ON "collections_active"."project_id" = "projects_resolved"."id")sql"
  }));
}

}  // namespace
}  // namespace schema::current::collections
