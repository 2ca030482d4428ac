#include "schema/current/triggers.h"

#include <gtest/gtest.h>

#include "schema/sql/trigger.h"
#include "schema/testing/expect_texts.h"

namespace schema::current {
namespace {

using sql::trigger::Scd2TriggerDef;
using testing::EntityTexts;

TEST(Triggers, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<triggers::Triggers>(14),
            (std::vector<std::string>{"triggers", "id", "project_id", "collection_id", "trigger_id", "function_id",
                                      "trigger_by_collection_id", "trigger_by_function_id", "trigger_by_table_id",
                                      "status", "valid_from", "defined_by_id", "system", "valid_to"}));
}

TEST(Triggers, Texts) {
  testing::expect_texts(
      triggers::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "triggers" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", )"
               R"("project_id" text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", )"
               R"("trigger_id" text NOT NULL COLLATE "C", "function_id" text NOT NULL COLLATE "C", )"
               R"("trigger_by_collection_id" text NOT NULL COLLATE "C", )"
               R"("trigger_by_function_id" text NOT NULL COLLATE "C", "trigger_by_table_id" text NOT NULL COLLATE "C", )"
               R"("status" text NOT NULL, "valid_from" timestamp with time zone NOT NULL, )"
               R"("defined_by_id" text NOT NULL COLLATE "C", "system" boolean NOT NULL, )"
               R"("valid_to" timestamp with time zone NOT NULL, )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "triggers___project_id__status___current_idx" ON "triggers" ("project_id", )"
                  R"("status") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "triggers___project_id__id___idx" ON "triggers" ("project_id", "id"))",
                  R"(CREATE INDEX "triggers___trigger_by_table_id___current_idx" ON "triggers" ("trigger_by_table_id") )"
                  R"(WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "triggers___trigger_by_table_id___idx" ON "triggers" ("trigger_by_table_id"))",
                  R"(CREATE INDEX "triggers___function_id___idx" ON "triggers" ("function_id"))",
                  R"(CREATE INDEX "triggers___trigger_id__valid_from__id___idx" ON "triggers" ("trigger_id", )"
                  R"("valid_from", "id"))",
                  R"(CREATE UNIQUE INDEX "triggers___trigger_id___current_uidx" ON "triggers" ("trigger_id") WHERE )"
                  R"("valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "triggers___function_id___current_idx" ON "triggers" ("function_id") WHERE )"
                  R"("valid_to" = 'infinity'::timestamptz)",
              },
          .views =
              {
                  {"triggers__with_names",
                   R"(SELECT "triggers".*, "collections_resolved"."name" AS "collection", )"
                   R"("collections_resolved"."deleted" AS "collection_deleted", )"
                   R"("trigger_by_collection"."name" AS "trigger_by_collection" FROM "triggers" LEFT JOIN )"
                   R"("collections_resolved" ON "triggers"."collection_id" = "collections_resolved"."id" LEFT JOIN )"
                   R"("collections_resolved" AS "trigger_by_collection" ON "triggers"."trigger_by_collection_id" = )"
                   R"("trigger_by_collection"."id")"},
                  {"triggers__read",
                   R"(SELECT * FROM "triggers__with_names" WHERE "triggers__with_names"."system" = false)"},
              },
          .triggers = {Scd2TriggerDef{"triggers__scd2_close", "triggers", "trigger_id", "valid_from", "valid_to", "id"}
                           .derived()},
      });
}

}  // namespace
}  // namespace schema::current
