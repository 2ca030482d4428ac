#include "schema/archive/v4/executions.h"

#include <gtest/gtest.h>

#include "schema/archive/v4/transactions.h"
#include "schema/testing/expect_texts.h"

namespace schema::archive::v4 {
namespace {

using testing::EntityTexts;

TEST(V4Executions, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<executions::Executions>(12),
            (std::vector<std::string>{"executions", "id", "project_id", "name", "collection_id", "function_version_id",
                                      "triggered_on", "triggered_by_id", "recursion_options", "function_id",
                                      "trigger_type", "external_uid"}));
}

TEST(V4Executions, Texts) {
  testing::expect_texts(
      executions::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "executions" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )"
               R"("name" text NULL, "collection_id" text NOT NULL, "function_version_id" text NOT NULL, )"
               R"("triggered_on" timestamp with time zone NOT NULL, "triggered_by_id" text NOT NULL, )"
               R"("recursion_options" jsonb NULL, "function_id" text NOT NULL DEFAULT '', )"
               R"("trigger_type" text NOT NULL DEFAULT 'M', "external_uid" text NULL, )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )"
               R"(FOREIGN KEY ("function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE )"
               R"(RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "executions___fv_id__trigger_type__triggered_on___idx" ON "executions" )"
                  R"(("function_version_id", "trigger_type", "triggered_on"))",
                  R"(CREATE INDEX "executions___project_id__triggered_on__id___idx" ON "executions" ("project_id", )"
                  R"("triggered_on", "id"))",
                  R"(CREATE INDEX "executions___project_id__id___idx" ON "executions" ("project_id", "id"))",
                  R"(CREATE INDEX "executions___function_id__external_uid___idx" ON "executions" ("function_id", )"
                  R"("external_uid"))",
              },
          .views =
              {
                  {"executions__with_names",
                   R"(SELECT "executions".*, "collections_resolved"."name" AS "collection", )"
                   R"("collections_resolved"."deleted" AS "collection_deleted", "functions"."name" AS "function", )"
                   R"(COALESCE(users.name, '[' || executions.triggered_by_id || ']') AS "triggered_by", )"
                   R"("projects_resolved"."name" AS "project" FROM "executions" LEFT JOIN "collections_resolved" ON )"
                   R"("executions"."collection_id" = "collections_resolved"."id" LEFT JOIN "functions" ON )"
                   R"("executions"."function_version_id" = "functions"."id" LEFT JOIN "users" ON )"
                   R"("executions"."triggered_by_id" = "users"."id" LEFT JOIN "projects_resolved" ON )"
                   R"("executions"."project_id" = "projects_resolved"."id")"},
              },
      });
}

TEST(V4Transactions, Identifiers) {
  EXPECT_EQ(
      testing::identifier_texts<transactions::Transactions>(10),
      (std::vector<std::string>{"transactions", "id", "project_id", "collection_id", "execution_id", "transaction_by",
                                "transaction_key", "triggered_on", "triggered_by_id", "group_id"}));
}

TEST(V4Transactions, Texts) {
  testing::expect_texts(
      transactions::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "transactions" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )"
               R"("collection_id" text NOT NULL, "execution_id" text NOT NULL, "transaction_by" text NOT NULL, )"
               R"("transaction_key" text NOT NULL, "triggered_on" timestamp with time zone NOT NULL, )"
               R"("triggered_by_id" text NOT NULL, "group_id" text NOT NULL, )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )"
               R"(FOREIGN KEY ("execution_id") REFERENCES "executions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )"
               R"(FOREIGN KEY ("project_id", "group_id") REFERENCES "groups" ("project_id", )"
               R"("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "transactions___project_id__group_id___idx" ON "transactions" ("project_id", )"
                  R"("group_id"))",
                  R"(CREATE INDEX "transactions___execution_id___idx" ON "transactions" ("execution_id"))",
                  R"(CREATE INDEX "transactions___project_id__id___idx" ON "transactions" ("project_id", "id"))",
                  R"(CREATE INDEX "transactions___project_id__triggered_on__id___idx" ON "transactions" ("project_id", )"
                  R"("triggered_on", "id"))",
              },
          .views =
              {
                  {"transactions__with_names",
                   R"(SELECT "transactions".*, "collections_resolved"."name" AS "collection", )"
                   R"("collections_resolved"."deleted" AS "collection_deleted", "executions"."name" AS "execution", )"
                   R"(COALESCE(users.name, '[' || transactions.triggered_by_id || ']') AS "triggered_by", )"
                   R"("groups_for_transactions"."name" AS "group", )"
                   R"("projects_resolved"."name" AS "project" FROM "transactions" LEFT JOIN "collections_resolved" ON )"
                   R"("transactions"."collection_id" = "collections_resolved"."id" LEFT JOIN "executions" ON )"
                   R"("transactions"."execution_id" = "executions"."id" LEFT JOIN "users" ON )"
                   R"("transactions"."triggered_by_id" = "users"."id" LEFT JOIN "projects_resolved" ON )"
                   R"("transactions"."project_id" = "projects_resolved"."id" LEFT JOIN "groups" AS )"
                   R"("groups_for_transactions" ON "transactions"."group_id" = "groups_for_transactions"."id" AND )"
                   R"("groups_for_transactions"."project_id" = "transactions"."project_id")"},
              },
      });
}

}  // namespace
}  // namespace schema::archive::v4
