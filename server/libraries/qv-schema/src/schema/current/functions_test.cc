#include "schema/current/functions.h"

#include <gtest/gtest.h>

#include "schema/current/function_patches.h"
#include "schema/current/function_versions.h"
#include "schema/sql/trigger.h"
#include "schema/testing/expect_texts.h"

namespace schema::current {
namespace {

using sql::trigger::ImmutableColumnsTriggerDef;
using sql::trigger::Scd2TriggerDef;
using testing::EntityTexts;

TEST(Functions, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<functions::Functions>(24), (std::vector<std::string>{"functions",
                                                                                           "id",
                                                                                           "project_id",
                                                                                           "collection_id",
                                                                                           "name",
                                                                                           "description",
                                                                                           "decorator",
                                                                                           "runtime_values",
                                                                                           "function_id",
                                                                                           "base_path",
                                                                                           "stage_id",
                                                                                           "stage_base_path",
                                                                                           "storage_version",
                                                                                           "bundle_id",
                                                                                           "snippet",
                                                                                           "valid_from",
                                                                                           "defined_by_id",
                                                                                           "status",
                                                                                           "connector",
                                                                                           "connection",
                                                                                           "enabled",
                                                                                           "valid_to",
                                                                                           "function_type",
                                                                                           "parent_function_id"}));
}

TEST(Functions, Texts) {
  testing::expect_texts(
      functions::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "functions" ( "id" bigint NOT NULL PRIMARY KEY, "project_id" text NOT NULL COLLATE "C", )"
               R"("collection_id" text NOT NULL COLLATE "C", "name" text NOT NULL, "description" text NOT NULL, )"
               R"("decorator" text NOT NULL, "runtime_values" text NOT NULL, "function_id" text NOT NULL COLLATE "C", )"
               R"("base_path" text NULL, "stage_id" text NOT NULL COLLATE "C", "stage_base_path" text NOT NULL, )"
               R"("storage_version" text NOT NULL, "bundle_id" text NOT NULL COLLATE "C", "snippet" text NOT NULL, )"
               R"("valid_from" timestamp with time zone NOT NULL, "defined_by_id" text NOT NULL COLLATE "C", )"
               R"("status" text NOT NULL, "connector" text NULL, "connection" text NULL, )"
               R"("enabled" boolean DEFAULT true, "valid_to" timestamp with time zone NOT NULL, )"
               R"("function_type" text NOT NULL, "parent_function_id" text NULL COLLATE "C", )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "functions___collection_id__name___idx" ON "functions" ("collection_id", "name"))",
                  R"(CREATE UNIQUE INDEX "functions___collection_id__name___current_uidx" ON "functions" )"
                  R"(("collection_id", "name") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "functions___project_id__status___current_idx" ON "functions" ("project_id", )"
                  R"("status") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "functions___project_id__id___idx" ON "functions" ("project_id", "id"))",
                  R"(CREATE INDEX "functions___function_id__valid_from__id___idx" ON "functions" ("function_id", )"
                  R"("valid_from", "id"))",
                  R"(CREATE INDEX "functions___parent_function_id___current_idx" ON "functions" ("parent_function_id") )"
                  R"(WHERE "valid_to" = 'infinity'::timestamptz AND "parent_function_id" IS NOT NULL)",
                  R"(CREATE UNIQUE INDEX "functions___function_id___current_uidx" ON "functions" ("function_id") WHERE )"
                  R"("valid_to" = 'infinity'::timestamptz)",
              },
          .views =
              {
                  {"functions__with_names",
                   R"(SELECT "functions".*, "collections_resolved"."name" AS "collection", )"
                   R"("collections_resolved"."deleted" AS "collection_deleted", )"
                   R"("collections_resolved"."group_id" AS "group_id", COALESCE(users.name, )"
                   R"('[' || functions.defined_by_id || ']') AS "defined_by" FROM "functions" LEFT JOIN )"
                   R"("collections_resolved" ON "functions"."collection_id" = "collections_resolved"."id" LEFT JOIN )"
                   R"("users" ON "functions"."defined_by_id" = "users"."id")"},
              },
          .triggers = {Scd2TriggerDef{"functions__scd2_close", "functions", "function_id", "valid_from", "valid_to",
                                      "id"}
                           .derived()},
      });
}

TEST(FunctionPatches, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<function_patches::FunctionPatches>(14),
            (std::vector<std::string>{"function_patches", "id", "project_id", "parent_function_version_id",
                                      "function_id", "collection_id", "snippet", "bundle_id", "runtime_values",
                                      "description", "valid_from", "defined_by_id", "status", "valid_to"}));
}

// The insert-only guard covers every column but "valid_to", which the close
// trigger sets on the previous patch.
TEST(FunctionPatches, Texts) {
  testing::expect_texts(
      function_patches::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "function_patches" ( "id" bigint NOT NULL PRIMARY KEY, )"
               R"("project_id" text NOT NULL COLLATE "C", "parent_function_version_id" bigint NOT NULL, )"
               R"("function_id" text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", )"
               R"("snippet" text NOT NULL, "bundle_id" text NOT NULL COLLATE "C", "runtime_values" text NOT NULL, )"
               R"("description" text NOT NULL, "valid_from" timestamp with time zone NOT NULL, )"
               R"("defined_by_id" text NOT NULL COLLATE "C", "status" text NOT NULL, )"
               R"("valid_to" timestamp with time zone NOT NULL, )"
               R"(FOREIGN KEY ("parent_function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE )"
               R"(RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "function_patches___function_id__valid_from___idx" ON "function_patches" )"
                  R"(("function_id", "valid_from"))",
                  R"(CREATE INDEX "function_patches___parent_fv_id__valid_from__id___idx" ON "function_patches" )"
                  R"(("parent_function_version_id", "valid_from", "id"))",
                  R"(CREATE UNIQUE INDEX "function_patches___parent_function_version_id___current_uidx" ON )"
                  R"("function_patches" ("parent_function_version_id") WHERE "valid_to" = 'infinity'::timestamptz)",
              },
          .views =
              {
                  {"function_patches__with_names",
                   R"(SELECT "function_patches".*, COALESCE(users.name, )"
                   R"('[' || function_patches.defined_by_id || ']') AS "defined_by" FROM "function_patches" LEFT JOIN )"
                   R"("users" ON "function_patches"."defined_by_id" = "users"."id")"},
              },
          .triggers =
              {
                  Scd2TriggerDef{"function_patches__scd2_close", "function_patches", "parent_function_version_id",
                                 "valid_from", "valid_to", "id"}
                      .derived(),
                  ImmutableColumnsTriggerDef{
                      "function_patches__immutable",
                      {"id", "project_id", "parent_function_version_id", "function_id", "collection_id", "snippet",
                       "bundle_id", "runtime_values", "description", "valid_from", "defined_by_id", "status"},
                      "function_patches"}
                      .derived(),
              },
      });
}

TEST(FunctionPatches, GuardTriggerNamesTheColumnsBareAfterUpdateOf) {
  const std::vector<source::Derived> triggers = function_patches::Defs().create_db_triggers();
  ASSERT_EQ(triggers.size(), 2u);
  ASSERT_EQ(triggers[1].create.size(), 3u);
  EXPECT_EQ(triggers[1].create[1],
            "CREATE TRIGGER function_patches__immutable_no_update BEFORE UPDATE OF id, project_id, "
            "parent_function_version_id, function_id, collection_id, snippet, bundle_id, runtime_values, description, "
            "valid_from, defined_by_id, status ON function_patches\n"
            "FOR EACH ROW EXECUTE FUNCTION function_patches__immutable_fn()");
}

// Function rows and patch rows line up column by column; a patch names the
// version it patches in "patch_of".
TEST(FunctionVersions, Texts) {
  testing::expect_texts(
      function_versions::Defs(),
      EntityTexts{
          .views =
              {
                  {"function_versions__with_names",
                   R"(SELECT "functions".*, "collections_resolved"."name" AS "collection", COALESCE(users.name, )"
                   R"('[' || functions.defined_by_id || ']') AS "defined_by", )"
                   R"(NULL AS "patch_of" FROM "functions" LEFT JOIN "collections_resolved" ON )"
                   R"("functions"."collection_id" = "collections_resolved"."id" LEFT JOIN "users" ON )"
                   R"("functions"."defined_by_id" = "users"."id" UNION ALL SELECT "function_patches"."id", )"
                   R"("function_patches"."project_id", "function_patches"."collection_id", "parent"."name", )"
                   R"("function_patches"."description", "parent"."decorator", "function_patches"."runtime_values", )"
                   R"("function_patches"."function_id", "parent"."base_path", "parent"."stage_id", )"
                   R"("parent"."stage_base_path", "parent"."storage_version", "function_patches"."bundle_id", )"
                   R"("function_patches"."snippet", "function_patches"."valid_from", )"
                   R"("function_patches"."defined_by_id", "function_patches"."status", "parent"."connector", )"
                   R"("parent"."connection", "parent"."enabled", "function_patches"."valid_to", )"
                   R"("parent"."function_type", "parent"."parent_function_id", "collections_resolved"."name", )"
                   R"(COALESCE(users.name, '[' || function_patches.defined_by_id || ']'), )"
                   R"("function_patches"."parent_function_version_id" FROM "function_patches" INNER JOIN "functions" )"
                   R"(AS "parent" ON "function_patches"."parent_function_version_id" = "parent"."id" LEFT JOIN )"
                   R"("collections_resolved" ON "function_patches"."collection_id" = "collections_resolved"."id" LEFT )"
                   R"(JOIN "users" ON "function_patches"."defined_by_id" = "users"."id")"},
              },
      });
}

}  // namespace
}  // namespace schema::current
