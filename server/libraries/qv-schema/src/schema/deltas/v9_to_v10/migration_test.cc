#include "schema/deltas/v9_to_v10/migration.h"

#include <gtest/gtest.h>

#include "schema/deltas/v9_to_v10/facts.h"
#include "schema/deltas/v9_to_v10/metrics_facts.h"
#include "schema/render.h"
#include "sqlbuilder/render.h"

namespace schema::deltas::v9_to_v10 {
namespace {

using Texts = std::vector<std::string>;

TEST(V9ToV10, MetricsFactsTable) {
  EXPECT_EQ(
      render::render_schema(create_table()),
      R"sql(CREATE TABLE "metrics_facts" ( "ts" timestamp with time zone NOT NULL, "ts_hour_ms" bigint NOT NULL, )sql"
      R"sql("ts_day_ms" bigint NOT NULL, "ts_week_ms" bigint NOT NULL, "ts_month_ms" bigint NOT NULL, )sql"
      R"sql("project_id" text NOT NULL COLLATE "C", "from_group_id" text NULL COLLATE "C", "from_collection_id" )sql"
      R"sql(text NULL COLLATE "C", "group_id" text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE )sql"
      R"sql("C", "execution_id" bigint NOT NULL, "transaction_id" bigint NOT NULL, "function_id" text NOT NULL )sql"
      R"sql(COLLATE "C", "function_run_id" bigint NOT NULL, "attempt_id" bigint NOT NULL, "attempt_outcome" text )sql"
      R"sql(NOT NULL, "run_status" text NOT NULL, "replay" bigint NOT NULL, "current" boolean NOT NULL, )sql"
      R"sql("run_has_inputs" boolean NOT NULL, "run_has_outputs" boolean NOT NULL, "side" text NOT NULL, )sql"
      R"sql("table_id" text NULL COLLATE "C", "table_version_id" bigint NULL, "private" boolean NOT NULL, )sql"
      R"sql("has_data" boolean NOT NULL, "row_count" bigint NOT NULL, "data_bytes" bigint NOT NULL, )sql"
      R"sql("first_consumed_on" timestamp with time zone NULL, "edge_kind" text NULL, "edge_first" boolean NOT )sql"
      R"sql(NULL, "edge_first_group" boolean NOT NULL ))sql");
}

TEST(V9ToV10, BucketsAndEdgeFlags) {
  EXPECT_EQ(sqlbuilder::to_sql(floor_ms("week", "writes")),
            R"sql((EXTRACT(EPOCH FROM date_trunc('week', "writes"."ended_on" AT TIME ZONE 'UTC')) * 1000)::bigint)sql");
  EXPECT_EQ(sqlbuilder::to_sql(first_of({"attempt_id", "from_group_id"}, "reads")),
            R"sql(row_number() OVER (PARTITION BY "reads"."attempt_id", "reads"."from_group_id" ORDER BY )sql"
            R"sql("reads"."table_version_id") = 1)sql");
  EXPECT_EQ(sqlbuilder::to_sql(is_user_table()), R"sql("logical_table_data_versions"."function_param_pos" >= 0)sql");
}

TEST(V9ToV10, Up) {
  const Texts up = Migration().up();
  ASSERT_EQ(up.size(), 20u);
  EXPECT_EQ(up[0], render::render_schema(create_table()));
  EXPECT_EQ(up[1], "SET LOCAL work_mem = '64MB'");
  EXPECT_TRUE(up[2].starts_with(R"sql(INSERT INTO "metrics_facts" ("ts", "ts_hour_ms", )sql")) << up[2];
  EXPECT_NE(up[2].find(R"sql(WITH "attempts" AS (SELECT )sql"), std::string::npos);
  const Texts rest(up.begin() + 3, up.end());
  EXPECT_EQ(rest.size(), 17u);
  const Texts fixed(rest.begin(), rest.begin() + 12);
  EXPECT_EQ(
      fixed,
      (Texts{
          "RESET work_mem",
          "ALTER TABLE physical_function_runs DROP COLUMN ended_on_hour_ms",
          "ALTER TABLE physical_function_runs DROP COLUMN ended_on_day_ms",
          "ALTER TABLE physical_function_runs DROP COLUMN ended_on_week_ms",
          "ALTER TABLE physical_function_runs DROP COLUMN ended_on_month_ms",
          "ALTER TABLE metrics_facts ALTER COLUMN project_id SET DEFAULT NULLIF(current_setting('app.project_id', "
          "true), "
          "'')",
          "ALTER TABLE metrics_facts ENABLE ROW LEVEL SECURITY",
          "ALTER TABLE metrics_facts FORCE ROW LEVEL SECURITY",
          "CREATE POLICY project_isolation ON metrics_facts USING (project_id = current_setting('app.project_id', "
          "true)) WITH CHECK (project_id = current_setting('app.project_id', true))",
          "CREATE POLICY across_projects ON metrics_facts TO qv_across_projects USING (true) WITH CHECK (true)",
          R"sql(ALTER TABLE "executions" ADD COLUMN "status" text NOT NULL DEFAULT 'S', ADD COLUMN "started_on" )sql"
          R"sql(timestamp with time zone NULL, ADD COLUMN "ended_on" timestamp with time zone NULL)sql",
          R"sql(ALTER TABLE "transactions" ADD COLUMN "status" text NOT NULL DEFAULT 'S', ADD COLUMN "started_on" )sql"
          R"sql(timestamp with time zone NULL, ADD COLUMN "ended_on" timestamp with time zone NULL)sql",
      }));
  EXPECT_EQ(up[15], "SET LOCAL work_mem = '64MB'");
  EXPECT_TRUE(up[16].starts_with(R"sql(UPDATE "executions" AS "target" )sql")) << up[16];
  EXPECT_TRUE(up[17].starts_with(R"sql(UPDATE "transactions" AS "target" )sql")) << up[17];
  EXPECT_EQ(up[18], "RESET work_mem");
}

TEST(V9ToV10, VersionFourLadders) {
  const Texts up = Migration().up();
  ASSERT_EQ(up.size(), 20u);
  // Ladder A for executions, ladder B for transactions; U when no arm matches.
  const std::string in = R"sql(count(*) FILTER (WHERE "logical_runs"."status" IN )sql";
  EXPECT_NE(up[16].find("CASE WHEN " + in + "('S')) = count(*) THEN 'S' WHEN " + in +
                        "('C', 'X', 'Y')) = count(*) THEN 'F' WHEN " + in + "('C', 'D', 'F', 'H')) = count(*) AND " +
                        in + "('F', 'H')) > 0 THEN 'L' WHEN " + in +
                        "('S', 'RR', 'RS', 'R', 'D', 'E')) > 0 THEN 'R' ELSE 'U' END AS \"status\""),
            std::string::npos)
      << up[16];
  EXPECT_NE(
      up[17].find("CASE WHEN " + in + "('S')) = count(*) THEN 'S' WHEN " + in + "('C')) = count(*) THEN 'C' WHEN " +
                  in + "('X')) = count(*) THEN 'X' WHEN " + in + "('Y')) = count(*) THEN 'Y' WHEN " + in +
                  "('D', 'F', 'H')) = count(*) AND " + in + "('F', 'H')) > 0 THEN 'L' WHEN " + in +
                  "('S', 'RR', 'RS', 'R', 'D', 'E')) > 0 THEN 'R' ELSE 'U' END AS \"status\""),
      std::string::npos)
      << up[17];
}

TEST(V9ToV10, RetiresTheStatusViewsThenTwoIndexes) {
  const Retired names = Migration().retired();
  EXPECT_EQ(names.views.size(), 5u);
  EXPECT_EQ(names.indexes.size(), 2u);
  EXPECT_EQ(delta().retired, (Texts{
                                 "DROP VIEW IF EXISTS executions__with_status",
                                 "DROP VIEW IF EXISTS transactions__with_status",
                                 "DROP VIEW IF EXISTS execution_status_summary",
                                 "DROP VIEW IF EXISTS transaction_status_summary",
                                 "DROP VIEW IF EXISTS global_status_summary",
                                 R"sql(DROP INDEX IF EXISTS "transactions___execution_id___idx")sql",
                                 R"sql(DROP INDEX IF EXISTS "pfr___project_id__ended_on___current_idx")sql",
                             }));
}

}  // namespace
}  // namespace schema::deltas::v9_to_v10
