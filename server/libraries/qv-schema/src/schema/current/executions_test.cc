#include "schema/current/executions.h"

#include <gtest/gtest.h>

#include "schema/current/transactions.h"
#include "schema/testing/expect_texts.h"

namespace schema::current {
namespace {

using testing::EntityTexts;

TEST(Executions, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<executions::Executions>(15),
            (std::vector<std::string>{"executions", "id", "project_id", "name", "collection_id", "function_version_id",
                                      "triggered_on", "triggered_by_id", "recursion_options", "function_id",
                                      "trigger_type", "external_uid", "status", "started_on", "ended_on"}));
}

TEST(Executions, Texts) {
  testing::expect_texts(
      executions::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "executions" ( "id" bigint NOT NULL PRIMARY KEY, "project_id" text NOT NULL COLLATE "C", )"
               R"("name" text NULL, "collection_id" text NOT NULL COLLATE "C", "function_version_id" bigint NOT NULL, )"
               R"("triggered_on" timestamp with time zone NOT NULL, "triggered_by_id" text NOT NULL COLLATE "C", )"
               R"("recursion_options" jsonb NULL, "function_id" text NOT NULL DEFAULT '' COLLATE "C", )"
               R"("trigger_type" text NOT NULL DEFAULT 'M', "external_uid" text NULL, )"
               R"("status" text NOT NULL DEFAULT 'S', "started_on" timestamp with time zone NULL, )"
               R"("ended_on" timestamp with time zone NULL, )"
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
                  R"(CREATE INDEX "executions___triggered_on__id___idx" ON "executions" ("triggered_on", "id"))",
                  R"(CREATE INDEX "executions___collection_id__triggered_on__id___idx" ON "executions" )"
                  R"(("collection_id", "triggered_on", "id"))",
                  R"(CREATE INDEX "executions___project_id__status__triggered_on__id___idx" ON "executions" )"
                  R"(("project_id", "status", "triggered_on", "id"))",
                  R"(CREATE INDEX "executions___function_id__external_uid___idx" ON "executions" ("function_id", )"
                  R"("external_uid"))",
              },
          .views =
              {
                  {"executions__with_names",
                   R"(SELECT "executions".*, "collections_resolved"."name" AS "collection", )"
                   R"("collections_resolved"."deleted" AS "collection_deleted", "functions"."name" AS "function", )"
                   R"(COALESCE(users.name, '[' || executions.triggered_by_id || ']') AS "triggered_by", )"
                   R"("projects_resolved"."name" AS "project", (SELECT COALESCE(jsonb_object_agg(inner_fr.status, )"
                   R"(inner_fr.count), '{}'::jsonb) FROM (SELECT "logical_function_runs"."status", )"
                   R"(count(*) AS "count" FROM "logical_function_runs" WHERE "logical_function_runs"."execution_id" = )"
                   R"("executions"."id" GROUP BY "logical_function_runs"."status") AS "inner_fr") AS )"
                   R"("function_run_status_count" FROM "executions" LEFT JOIN "collections_resolved" ON )"
                   R"("executions"."collection_id" = "collections_resolved"."id" LEFT JOIN "functions" ON )"
                   R"("executions"."function_version_id" = "functions"."id" LEFT JOIN "users" ON )"
                   R"("executions"."triggered_by_id" = "users"."id" LEFT JOIN "projects_resolved" ON )"
                   R"("executions"."project_id" = "projects_resolved"."id")"},
              },
      });
}

TEST(Transactions, Identifiers) {
  EXPECT_EQ(testing::identifier_texts<transactions::Transactions>(13),
            (std::vector<std::string>{"transactions", "id", "project_id", "collection_id", "execution_id",
                                      "transaction_by", "transaction_key", "triggered_on", "triggered_by_id",
                                      "group_id", "status", "started_on", "ended_on"}));
}

TEST(Transactions, Texts) {
  testing::expect_texts(
      transactions::Defs(),
      EntityTexts{
          .tables =
              {R"(CREATE TABLE "transactions" ( "id" bigint NOT NULL PRIMARY KEY, )"
               R"("project_id" text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", )"
               R"("execution_id" bigint NOT NULL, "transaction_by" text NOT NULL, "transaction_key" text NOT NULL, )"
               R"("triggered_on" timestamp with time zone NOT NULL, "triggered_by_id" text NOT NULL COLLATE "C", )"
               R"("group_id" text NOT NULL COLLATE "C", "status" text NOT NULL DEFAULT 'S', )"
               R"("started_on" timestamp with time zone NULL, "ended_on" timestamp with time zone NULL, )"
               R"(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )"
               R"(FOREIGN KEY ("execution_id") REFERENCES "executions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )"
               R"(FOREIGN KEY ("group_id") REFERENCES "groups" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))"},
          .indexes =
              {
                  R"(CREATE INDEX "transactions___group_id__project_id___idx" ON "transactions" ("group_id", )"
                  R"("project_id"))",
                  R"(CREATE INDEX "transactions___execution_id__triggered_on__id___idx" ON "transactions" )"
                  R"(("execution_id", "triggered_on", "id"))",
                  R"(CREATE INDEX "transactions___project_id__id___idx" ON "transactions" ("project_id", "id"))",
                  R"(CREATE INDEX "transactions___project_id__triggered_on__id___idx" ON "transactions" ("project_id", )"
                  R"("triggered_on", "id"))",
                  R"(CREATE INDEX "transactions___triggered_on__id___idx" ON "transactions" ("triggered_on", "id"))",
                  R"(CREATE INDEX "transactions___project_id__status__triggered_on__id___idx" ON "transactions" )"
                  R"(("project_id", "status", "triggered_on", "id"))",
                  R"(CREATE INDEX "transactions___project_id__started_on__id___idx" ON "transactions" ("project_id", )"
                  R"("started_on", "id"))",
              },
          .views =
              {
                  {"transactions__with_names",
                   R"(SELECT "transactions".*, "collections_resolved"."name" AS "collection", )"
                   R"("collections_resolved"."deleted" AS "collection_deleted", "executions"."name" AS "execution", )"
                   R"(COALESCE(users.name, '[' || transactions.triggered_by_id || ']') AS "triggered_by", )"
                   R"("groups_for_transactions"."name" AS "group", "projects_resolved"."name" AS "project", )"
                   R"((SELECT COALESCE(jsonb_object_agg(inner_fr.status, inner_fr.count), )"
                   R"('{}'::jsonb) FROM (SELECT "logical_function_runs"."status", )"
                   R"(count(*) AS "count" FROM "logical_function_runs" WHERE "logical_function_runs"."transaction_id" )"
                   R"(= "transactions"."id" GROUP BY "logical_function_runs"."status") AS "inner_fr") AS )"
                   R"("function_run_status_count" FROM "transactions" LEFT JOIN "collections_resolved" ON )"
                   R"("transactions"."collection_id" = "collections_resolved"."id" LEFT JOIN "executions" ON )"
                   R"("transactions"."execution_id" = "executions"."id" LEFT JOIN "users" ON )"
                   R"("transactions"."triggered_by_id" = "users"."id" LEFT JOIN "projects_resolved" ON )"
                   R"("transactions"."project_id" = "projects_resolved"."id" LEFT JOIN "groups" AS )"
                   R"("groups_for_transactions" ON "transactions"."group_id" = "groups_for_transactions"."id")"},
              },
      });
}

}  // namespace
}  // namespace schema::current
