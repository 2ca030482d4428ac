#include "schema/archive/v4/tables.h"

#include <gtest/gtest.h>

#include "schema/sql/trigger.h"
#include "schema/testing/expect_texts.h"

namespace schema::archive::v4 {
namespace {

using sql::trigger::Scd2TriggerDef;
using testing::EntityTexts;

TEST(V4Tables, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<tables::Tables>(16),
            (std::vector<std::string>{"tables", "id", "project_id", "collection_id", "table_id", "name", "function_id",
                                      "function_version_id", "function_param_pos", "private", "partitioned",
                                      "defined_on", "defined_by_id", "status", "table_type", "valid_to"}));
}

TEST(V4Tables, Texts) {
  testing::expect_texts(
      tables::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "tables" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )"
               R"("collection_id" text NOT NULL, "table_id" text NOT NULL, "name" text NOT NULL, )"
               R"("function_id" text NULL, "function_version_id" text NOT NULL, "function_param_pos" integer NULL, )"
               R"("private" boolean NOT NULL, "partitioned" boolean NULL, )"
               R"("defined_on" timestamp with time zone NOT NULL, "defined_by_id" text NOT NULL, )"
               R"("status" text NOT NULL, "table_type" text NOT NULL DEFAULT 'R', )"
               R"("valid_to" timestamp with time zone NOT NULL, )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )"
               R"(FOREIGN KEY ("function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE )"
               R"(RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "tables___collection_id__name___current_idx" ON "tables" ("collection_id", )"
                  R"("name") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "tables___project_id__status___current_idx" ON "tables" ("project_id", )"
                  R"("status") WHERE "valid_to" = 'infinity'::timestamptz)",
                  R"(CREATE INDEX "tables___project_id__id___idx" ON "tables" ("project_id", "id"))",
                  R"(CREATE INDEX "tables___collection_id__name___idx" ON "tables" ("collection_id", "name"))",
                  R"(CREATE INDEX "tables___function_version_id___idx" ON "tables" ("function_version_id"))",
                  R"(CREATE INDEX "tables___function_id__status___idx" ON "tables" ("function_id", "status"))",
                  R"(CREATE INDEX "tables___table_id__defined_on__id___idx" ON "tables" ("table_id", "defined_on", )"
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
              {Scd2TriggerDef{"tables__scd2_close", "tables", "table_id", "defined_on", "valid_to", "id"}.derived()},
      });
}

}  // namespace
}  // namespace schema::archive::v4
