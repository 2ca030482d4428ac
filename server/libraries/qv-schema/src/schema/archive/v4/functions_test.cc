#include "schema/archive/v4/functions.h"

#include <gtest/gtest.h>

#include "schema/archive/v4/function_patches.h"
#include "schema/archive/v4/function_versions.h"
#include "schema/sql/trigger.h"
#include "schema/testing/expect_texts.h"

namespace schema::archive::v4 {
namespace {

using sql::trigger::ImmutableColumnsTriggerDef;
using sql::trigger::Scd2TriggerDef;
using testing::EntityTexts;

TEST(V4Functions, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<functions::Functions>(22), (std::vector<std::string>{"functions",
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
                                                                                           "defined_on",
                                                                                           "defined_by_id",
                                                                                           "status",
                                                                                           "connector",
                                                                                           "connection",
                                                                                           "enabled",
                                                                                           "valid_to"}));
}

// Live names were not yet unique within a collection.
TEST(V4Functions, Texts) {
  testing::expect_texts(
      functions::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "functions" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )"
               R"("collection_id" text NOT NULL, "name" text NOT NULL, "description" text NOT NULL, )"
               R"("decorator" text NOT NULL, "runtime_values" text NOT NULL, "function_id" text NOT NULL, )"
               R"("base_path" text NULL, "stage_id" text NOT NULL, "stage_base_path" text NOT NULL, )"
               R"("storage_version" text NOT NULL, "bundle_id" text NOT NULL, "snippet" text NOT NULL, )"
               R"("defined_on" timestamp with time zone NOT NULL, "defined_by_id" text NOT NULL, )"
               R"("status" text NOT NULL, "connector" text NULL, "connection" text NULL, )"
               R"("enabled" boolean DEFAULT true, "valid_to" timestamp with time zone NOT NULL, )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "functions___collection_id__name___idx" ON "functions" ("collection_id", "name"))",
                  R"(CREATE INDEX "functions___collection_id__name___current_idx" ON "functions" ("collection_id", )"
                  R"("name") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "functions___project_id__status___current_idx" ON "functions" ("project_id", )"
                  R"("status") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "functions___project_id__id___idx" ON "functions" ("project_id", "id"))",
                  R"(CREATE INDEX "functions___function_id__defined_on__id___idx" ON "functions" ("function_id", )"
                  R"("defined_on", "id"))",
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
          .triggers = {Scd2TriggerDef{"functions__scd2_close", "functions", "function_id", "defined_on", "valid_to",
                                      "id"}
                           .derived()},
      });
}

TEST(V4FunctionPatches, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<function_patches::FunctionPatches>(14),
            (std::vector<std::string>{"function_patches", "id", "project_id", "parent_function_version_id",
                                      "function_id", "collection_id", "snippet", "bundle_id", "runtime_values",
                                      "description", "defined_on", "defined_by_id", "status", "valid_to"}));
}

TEST(V4FunctionPatches, Texts) {
  testing::expect_texts(
      function_patches::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "function_patches" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )"
               R"("parent_function_version_id" text NOT NULL, "function_id" text NOT NULL, )"
               R"("collection_id" text NOT NULL, "snippet" text NOT NULL, "bundle_id" text NOT NULL, )"
               R"("runtime_values" text NOT NULL, "description" text NOT NULL, )"
               R"("defined_on" timestamp with time zone NOT NULL, "defined_by_id" text NOT NULL, )"
               R"("status" text NOT NULL, "valid_to" timestamp with time zone NOT NULL, )"
               R"(FOREIGN KEY ("parent_function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE )"
               R"(RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "function_patches___function_id__defined_on___idx" ON "function_patches" )"
                  R"(("function_id", "defined_on"))",
                  R"(CREATE INDEX "function_patches___parent_fv_id__defined_on__id___idx" ON "function_patches" )"
                  R"(("parent_function_version_id", "defined_on", "id"))",
                  R"(CREATE UNIQUE INDEX "function_patches___parent_function_version_id___current_uidx" ON )"
                  R"("function_patches" ("parent_function_version_id") WHERE "valid_to" = 'infinity'::timestamptz)",
              },
          .views = {},
          .triggers =
              {
                  Scd2TriggerDef{"function_patches__scd2_close", "function_patches", "parent_function_version_id",
                                 "defined_on", "valid_to", "id"}
                      .derived(),
                  ImmutableColumnsTriggerDef{
                      "function_patches__immutable",
                      {"id", "project_id", "parent_function_version_id", "function_id", "collection_id", "snippet",
                       "bundle_id", "runtime_values", "description", "defined_on", "defined_by_id", "status"},
                      "function_patches"}
                      .derived(),
              },
      });
}

TEST(V4FunctionVersions, Texts) {
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
                   R"("function_patches"."snippet", "function_patches"."defined_on", )"
                   R"("function_patches"."defined_by_id", "function_patches"."status", "parent"."connector", )"
                   R"("parent"."connection", "parent"."enabled", "function_patches"."valid_to", )"
                   R"("collections_resolved"."name", COALESCE(users.name, )"
                   R"('[' || function_patches.defined_by_id || ']'), )"
                   R"("function_patches"."parent_function_version_id" FROM "function_patches" INNER JOIN "functions" )"
                   R"(AS "parent" ON "function_patches"."parent_function_version_id" = "parent"."id" LEFT JOIN )"
                   R"("collections_resolved" ON "function_patches"."collection_id" = "collections_resolved"."id" LEFT )"
                   R"(JOIN "users" ON "function_patches"."defined_by_id" = "users"."id")"},
              },
      });
}

}  // namespace
}  // namespace schema::archive::v4
