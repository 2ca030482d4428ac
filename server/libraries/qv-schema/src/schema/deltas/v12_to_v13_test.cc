#include "schema/deltas/v12_to_v13.h"

#include <gtest/gtest.h>

#include "schema/render.h"
#include "schema/testing/folded.h"

namespace schema::deltas::v12_to_v13 {
namespace {

using Texts = std::vector<std::string>;
using testing::folded;

TEST(V12ToV13, Up) {
  const Texts expected = {
      "DO $$ DECLARE duplicates text; BEGIN SELECT string_agg(format('%s %s in collection %s', kind, name, "
      "collection_id), '; ' ORDER BY kind, collection_id, name) INTO duplicates FROM ( SELECT 'function' AS kind, "
      "collection_id, name FROM functions WHERE valid_to = 'infinity' GROUP BY collection_id, name HAVING count(*) "
      "> 1 UNION ALL SELECT 'table' AS kind, collection_id, name FROM tables WHERE valid_to = 'infinity' GROUP BY "
      "collection_id, name HAVING count(*) > 1 ) d; IF duplicates IS NOT NULL THEN RAISE EXCEPTION 'Live names "
      "must be unique within a collection; rename or delete one of each, then upgrade again: %', duplicates; END "
      "IF; END $$",
      "ALTER TABLE projects DROP CONSTRAINT IF EXISTS projects_name_key",
      "ALTER TABLE roles DROP CONSTRAINT IF EXISTS roles_name_key",
      R"sql(DELETE FROM "users_roles" WHERE "user_id" NOT IN (SELECT "id" FROM "users"))sql",
      R"sql(ALTER TABLE "users_roles" ADD FOREIGN KEY ("user_id") REFERENCES "users" ("id") ON DELETE RESTRICT ON )sql"
      R"sql(UPDATE RESTRICT)sql",
      R"sql(ALTER TABLE "logical_function_run_inputs" ADD COLUMN "requirement_table_version_id" text NULL COLLATE )sql"
      R"sql("C")sql",
      R"sql(UPDATE "logical_function_run_inputs" AS i SET "requirement_table_version_id" = t."id" FROM )sql"
      R"sql("logical_function_runs" AS r, "functions" AS f, "dependencies" AS d, "tables" AS t WHERE )sql"
      R"sql(i."requirement_dependency_pos" IS NOT NULL AND r."id" = i."logical_function_run_id" AND f."id" = )sql"
      R"sql(r."function_version_id" AND d."function_id" = r."function_id" AND d."dep_pos" = )sql"
      R"sql(i."requirement_dependency_pos" AND d."valid_from" <= f."valid_from" AND f."valid_from" < d."valid_to" )sql"
      R"sql(AND t."table_id" = d."table_id" AND t."valid_from" <= r."triggered_on" AND r."triggered_on" < )sql"
      R"sql(t."valid_to")sql",
      R"sql(ALTER TABLE "workers" ADD COLUMN "failures" integer NOT NULL DEFAULT 0, ADD COLUMN "retry_at" )sql"
      R"sql(timestamp with time zone NULL, ADD COLUMN "destination_write_on" timestamp with time zone NULL, DROP )sql"
      R"sql(COLUMN "message_status")sql",
      "UPDATE workers SET status = 'SP', ended_on = transaction_timestamp() WHERE status = 'SPS' AND NOT "
      "worker_enabled AND worker_type IN ('CT', 'ST')",
      R"sql(ALTER TABLE "logical_function_runs" ADD COLUMN "recoveries" integer NOT NULL DEFAULT 0)sql",
      "UPDATE physical_table_data_versions t SET valid_to = t.valid_from FROM physical_function_runs r WHERE r.id = "
      "t.physical_function_run_id AND t.has_data IS NULL AND r.status <> 'D' AND t.valid_to IS DISTINCT FROM "
      "t.valid_from",
      "UPDATE physical_table_data_versions t SET valid_to = n.next_valid_from FROM ( SELECT id, COALESCE( "
      "LEAD(valid_from) OVER (PARTITION BY logical_table_data_version_id ORDER BY valid_from, id), 'infinity' ) AS "
      "next_valid_from FROM physical_table_data_versions WHERE valid_to IS DISTINCT FROM valid_from AND "
      "logical_table_data_version_id IN ( SELECT logical_table_data_version_id FROM physical_table_data_versions "
      "WHERE valid_to = valid_from ) ) AS n WHERE t.id = n.id AND t.valid_to IS DISTINCT FROM n.next_valid_from",
      "SET LOCAL work_mem = '64MB'",
      render::render_query(sql::rollup::backfill(transactions_rollup())),
      render::render_query(sql::rollup::backfill(executions_rollup())),
      "RESET work_mem",
      "UPDATE quorvale_system SET value = '13' WHERE name = 'db_version'",
  };
  EXPECT_EQ(folded(delta().up), expected);
}

TEST(V12ToV13, TransactionsThenExecutionsOverTheirTransactions) {
  const Texts up = delta().up;
  ASSERT_EQ(up.size(), 17u);
  EXPECT_TRUE(up[13].starts_with(R"sql(UPDATE "transactions" AS "target" )sql")) << up[13];
  EXPECT_NE(up[13].find(R"sql(LEFT JOIN "logical_function_runs" AS "children" ON "children"."transaction_id")sql"),
            std::string::npos);
  EXPECT_TRUE(up[14].starts_with(R"sql(UPDATE "executions" AS "target" )sql")) << up[14];
  EXPECT_NE(up[14].find(R"sql(LEFT JOIN "transactions" AS "children" ON "children"."execution_id")sql"),
            std::string::npos);
}

TEST(V12ToV13, Retired) {
  EXPECT_EQ(delta().retired,
            (Texts{
                "DROP TRIGGER IF EXISTS logical_function_runs__sticky_terminals ON logical_function_runs",
                "DROP FUNCTION IF EXISTS logical_function_runs__sticky_terminals_fn()",
                R"sql(DROP INDEX IF EXISTS "collections___project_id__name___idx")sql",
                R"sql(DROP INDEX IF EXISTS "functions___collection_id__name___current_idx")sql",
                R"sql(DROP INDEX IF EXISTS "groups___project_id__name___idx")sql",
                R"sql(DROP INDEX IF EXISTS "metrics_facts___table_version_id___written___idx")sql",
                R"sql(DROP INDEX IF EXISTS "sessions___status___idx")sql",
                R"sql(DROP INDEX IF EXISTS "tables___collection_id__name___current_idx")sql",
            }));
}

}  // namespace
}  // namespace schema::deltas::v12_to_v13
