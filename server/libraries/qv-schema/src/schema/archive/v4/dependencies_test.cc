#include "schema/archive/v4/dependencies.h"

#include <gtest/gtest.h>

#include "schema/sql/trigger.h"
#include "schema/testing/expect_texts.h"

namespace schema::archive::v4 {
namespace {

using sql::trigger::Scd2TriggerDef;
using testing::EntityTexts;

TEST(V4Dependencies, Identifiers) {
  EXPECT_EQ(
      testing::identifier_texts<dependencies::Dependencies>(15),
      (std::vector<std::string>{"dependencies", "id", "project_id", "collection_id", "dependency_id", "function_id",
                                "table_collection_id", "table_function_id", "table_id", "table_versions", "dep_pos",
                                "defined_on", "defined_by_id", "system", "valid_to"}));
}

TEST(V4Dependencies, Texts) {
  testing::expect_texts(
      dependencies::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "dependencies" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )"
               R"("collection_id" text NOT NULL, "dependency_id" text NOT NULL, "function_id" text NOT NULL, )"
               R"("table_collection_id" text NOT NULL, "table_function_id" text NOT NULL, "table_id" text NOT NULL, )"
               R"("table_versions" text NOT NULL, "dep_pos" integer NOT NULL, )"
               R"("defined_on" timestamp with time zone NOT NULL, "defined_by_id" text NOT NULL, )"
               R"("system" boolean NOT NULL, "valid_to" timestamp with time zone NOT NULL, )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "dependencies___project_id___current_idx" ON "dependencies" ("project_id") WHERE )"
                  R"("valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "dependencies___project_id__id___idx" ON "dependencies" ("project_id", "id"))",
                  R"(CREATE INDEX "dependencies___table_id___current_idx" ON "dependencies" ("table_id") WHERE )"
                  R"("valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "dependencies___table_id___idx" ON "dependencies" ("table_id"))",
                  R"(CREATE INDEX "dependencies___dependency_id__defined_on__id___idx" ON "dependencies" )"
                  R"(("dependency_id", "defined_on", "id"))",
                  R"(CREATE INDEX "dependencies___function_id___idx" ON "dependencies" ("function_id"))",
                  R"(CREATE UNIQUE INDEX "dependencies___dependency_id___current_uidx" ON "dependencies" )"
                  R"(("dependency_id") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "dependencies___function_id___current_idx" ON "dependencies" ("function_id") WHERE )"
                  R"("valid_to" = 'infinity'::timestamptz)",
              },
          .views =
              {
                  {"dependencies__with_names",
                   R"(SELECT "dependencies".*, "collections_resolved"."name" AS "collection", )"
                   R"("collections_resolved"."deleted" AS "collection_deleted", )"
                   R"("table_collection"."name" AS "table_collection" FROM "dependencies" LEFT JOIN )"
                   R"("collections_resolved" ON "dependencies"."collection_id" = "collections_resolved"."id" LEFT JOIN )"
                   R"("collections_resolved" AS "table_collection" ON "dependencies"."table_collection_id" = )"
                   R"("table_collection"."id")"},
              },
          .triggers = {Scd2TriggerDef{"dependencies__scd2_close", "dependencies", "dependency_id", "defined_on",
                                      "valid_to", "id"}
                           .derived()},
      });
}

}  // namespace
}  // namespace schema::archive::v4
