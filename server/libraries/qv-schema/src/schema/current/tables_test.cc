#include "schema/current/tables.h"

#include <gtest/gtest.h>

#include "schema/sql/trigger.h"
#include "schema/testing/expect_texts.h"

namespace schema::current {
namespace {

using sql::trigger::Scd2TriggerDef;
using testing::EntityTexts;

TEST(Tables, Identifiers) {
  EXPECT_EQ(
      testing::identifier_texts<tables::Tables>(17),
      (std::vector<std::string>{"tables", "id", "project_id", "collection_id", "table_id", "name", "function_id",
                                "function_version_id", "function_param_pos", "private", "partitioned", "valid_from",
                                "defined_by_id", "status", "table_type", "valid_to", "parent_table_id"}));
}

TEST(Tables, Texts) {
  testing::expect_texts(
      tables::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "tables" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", )"
               R"("project_id" text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", )"
               R"("table_id" text NOT NULL COLLATE "C", "name" text NOT NULL, "function_id" text NULL COLLATE "C", )"
               R"("function_version_id" bigint NOT NULL, "function_param_pos" integer NULL, "private" boolean NOT NULL, )"
               R"("partitioned" boolean NULL, "valid_from" timestamp with time zone NOT NULL, )"
               R"("defined_by_id" text NOT NULL COLLATE "C", "status" text NOT NULL, )"
               R"("table_type" text NOT NULL DEFAULT 'R', "valid_to" timestamp with time zone NOT NULL, )"
               R"("parent_table_id" text NULL COLLATE "C", )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )"
               R"(FOREIGN KEY ("function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE )"
               R"(RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE UNIQUE INDEX "tables___collection_id__name___current_uidx" ON "tables" ("collection_id", )"
                  R"("name") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "tables___project_id__status___current_idx" ON "tables" ("project_id", )"
                  R"("status") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "tables___project_id__id___idx" ON "tables" ("project_id", "id"))",
                  R"(CREATE INDEX "tables___collection_id__name___idx" ON "tables" ("collection_id", "name"))",
                  R"(CREATE INDEX "tables___function_version_id___idx" ON "tables" ("function_version_id"))",
                  R"(CREATE INDEX "tables___function_id__status___idx" ON "tables" ("function_id", "status"))",
                  R"(CREATE INDEX "tables___table_id__valid_from__id___idx" ON "tables" ("table_id", "valid_from", )"
                  R"("id"))",
                  R"(CREATE UNIQUE INDEX "tables___table_id___current_uidx" ON "tables" ("table_id") WHERE "valid_to" )"
                  R"(= 'infinity'::timestamptz)",
                  R"(CREATE INDEX "tables___function_id___current_idx" ON "tables" ("function_id") WHERE "valid_to" = )"
                  R"('infinity'::timestamptz)",
              },
          .views =
              {
                  {"tables__with_names",
                   R"(SELECT "tables".*, "tables"."function_param_pos" < 0 AS "system", COALESCE(users.name, )"
                   R"('[' || tables.defined_by_id || ']') AS "defined_by", )"
                   R"("collections_resolved"."name" AS "collection", )"
                   R"("collections_resolved"."deleted" AS "collection_deleted", )"
                   R"("functions"."name" AS "function" FROM "tables" LEFT JOIN "collections_resolved" ON )"
                   R"("tables"."collection_id" = "collections_resolved"."id" LEFT JOIN "functions" ON )"
                   R"("tables"."function_version_id" = "functions"."id" LEFT JOIN "users" ON "tables"."defined_by_id" )"
                   R"(= "users"."id")"},
              },
          .triggers =
              {Scd2TriggerDef{"tables__scd2_close", "tables", "table_id", "valid_from", "valid_to", "id"}.derived()},
      });
}

}  // namespace
}  // namespace schema::current
