#include "schema/archive/v4/logical_function_runs.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::logical_function_runs {
namespace {

using Texts = std::vector<std::string>;

TEST(V4LogicalFunctionRuns, TableWithGroupKeyWithinProject) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "logical_function_runs" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT )sql"
      R"sql(NULL, "collection_id" text NOT NULL, "execution_id" text NOT NULL, "transaction_id" text NOT )sql"
      R"sql(NULL, "function_id" text NOT NULL, "function_version_id" text NOT NULL DEFAULT '', "trigger" )sql"
      R"sql(text NOT NULL, "triggered_on" timestamp with time zone NOT NULL, "triggered_by_id" text NOT )sql"
      R"sql(NULL, "status" text NOT NULL, "group_id" text NOT NULL, FOREIGN KEY ("collection_id") )sql"
      R"sql(REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("project_id", "group_id") REFERENCES "groups" ("project_id", "id") ON DELETE RESTRICT ON )sql"
      R"sql(UPDATE RESTRICT, FOREIGN KEY ("execution_id") REFERENCES "executions" ("id") ON DELETE )sql"
      R"sql(RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("transaction_id") REFERENCES "transactions" ("id") )sql"
      R"sql(ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

TEST(V4LogicalFunctionRuns, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "logical_function_runs___project_id__group_id___idx" ON "logical_function_runs" )sql"
      R"sql(("project_id", "group_id"))sql",
      R"sql(CREATE INDEX "logical_function_runs___status__project_id__triggered_on___idx" ON )sql"
      R"sql("logical_function_runs" ("status", "project_id", "triggered_on"))sql",
      R"sql(CREATE INDEX "logical_function_runs___project_id__id___idx" ON "logical_function_runs" )sql"
      R"sql(("project_id", "id"))sql",
      R"sql(CREATE INDEX "logical_function_runs___function_version_id___idx" ON "logical_function_runs" )sql"
      R"sql(("function_version_id"))sql",
      R"sql(CREATE UNIQUE INDEX "logical_function_runs___execution_id__function_id___idx" ON )sql"
      R"sql("logical_function_runs" ("execution_id", "function_id"))sql",
      R"sql(CREATE INDEX "logical_function_runs___function_id__triggered_on__id___idx" ON )sql"
      R"sql("logical_function_runs" ("function_id", "triggered_on", "id"))sql",
      R"sql(CREATE INDEX "logical_function_runs___execution_id__status___idx" ON "logical_function_runs" )sql"
      R"sql(("execution_id", "status"))sql",
      R"sql(CREATE INDEX "logical_function_runs___transaction_id__status___idx" ON "logical_function_runs" )sql"
      R"sql(("transaction_id", "status"))sql",
  }));
}

// The view with names, then the three summaries.
TEST(V4LogicalFunctionRuns, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW function_runs__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("logical_function_runs".*, "functions"."name" AS "name", "collections_resolved"."name" AS )sql"
      R"sql("collection", "collections_resolved"."deleted" AS "collection_deleted", "executions"."name" AS )sql"
      R"sql("execution", COALESCE(users.name, '[' || logical_function_runs.triggered_by_id || ']') AS )sql"
      R"sql("triggered_by", "groups_for_lfr"."name" AS "group", "projects_resolved"."name" AS "project", )sql"
      R"sql("physical_function_runs"."id" AS "physical_function_run_id", )sql"
      R"sql("physical_function_runs"."started_on" AS "started_on", "physical_function_runs"."ended_on" AS )sql"
      R"sql("ended_on", "physical_function_runs"."status" AS "physical_status", )sql"
      R"sql("physical_function_runs"."function_version_patch_id" AS "function_version_patch_id", )sql"
      R"sql("physical_function_runs"."ended_on_hour_ms" AS "ended_on_hour_ms", )sql"
      R"sql("physical_function_runs"."ended_on_day_ms" AS "ended_on_day_ms", )sql"
      R"sql("physical_function_runs"."ended_on_week_ms" AS "ended_on_week_ms", )sql"
      R"sql("physical_function_runs"."ended_on_month_ms" AS "ended_on_month_ms", )sql"
      R"sql("physical_function_runs"."metric_table_versions" AS "metric_table_versions", )sql"
      R"sql("physical_function_runs"."metric_rows" AS "metric_rows", )sql"
      R"sql("physical_function_runs"."metric_data_bytes" AS "metric_data_bytes" FROM )sql"
      R"sql("logical_function_runs" LEFT JOIN "collections_resolved" ON )sql"
      R"sql("logical_function_runs"."collection_id" = "collections_resolved"."id" LEFT JOIN "groups" AS )sql"
      R"sql("groups_for_lfr" ON "logical_function_runs"."group_id" = "groups_for_lfr"."id" AND )sql"
      R"sql("logical_function_runs"."project_id" = "groups_for_lfr"."project_id" LEFT JOIN )sql"
      R"sql("projects_resolved" ON "logical_function_runs"."project_id" = "projects_resolved"."id" LEFT )sql"
      R"sql(JOIN "functions" ON "logical_function_runs"."function_version_id" = "functions"."id" LEFT JOIN )sql"
      R"sql("executions" ON "logical_function_runs"."execution_id" = "executions"."id" LEFT JOIN "users" )sql"
      R"sql(ON "logical_function_runs"."triggered_by_id" = "users"."id" LEFT JOIN "physical_function_runs" )sql"
      R"sql(ON "physical_function_runs"."logical_function_run_id" = "logical_function_runs"."id" AND )sql"
      R"sql("physical_function_runs"."valid_to" = 'infinity'::timestamptz)sql",
      R"sql(CREATE VIEW global_status_summary WITH (security_invoker = true) AS SELECT CASE WHEN )sql"
      R"sql(COUNT(CASE WHEN "logical_function_runs"."status" IN ('S') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") THEN 'S' WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('C', 'X', 'Y') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") THEN 'F' WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('C', 'D', 'F', 'H') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") AND COUNT(CASE WHEN "logical_function_runs"."status" )sql"
      R"sql(IN ('F', 'H') THEN 1 END) > 0 THEN 'L' WHEN COUNT(CASE WHEN "logical_function_runs"."status" )sql"
      R"sql(IN ('S', 'RR', 'RS', 'R', 'D', 'E') THEN 1 END) > 0 THEN 'R' ELSE 'U' END AS "status", )sql"
      R"sql(COUNT(*) = COUNT(CASE WHEN "logical_function_runs"."status" IN ('C', 'X', 'Y') THEN 1 END) AS )sql"
      R"sql("finished", (SELECT COALESCE(jsonb_object_agg(inner_fr.status, inner_fr.count), '{}'::jsonb) )sql"
      R"sql(FROM (SELECT "logical_function_runs"."status", COUNT(*) AS "count" FROM )sql"
      R"sql("logical_function_runs" GROUP BY "logical_function_runs"."status") AS "inner_fr") AS )sql"
      R"sql("function_run_status_count" FROM "logical_function_runs")sql",
      R"sql(CREATE VIEW execution_status_summary WITH (security_invoker = true) AS SELECT )sql"
      R"sql("executions"."id" AS "execution_id", CASE WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('S') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") THEN 'S' WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('C', 'X', 'Y') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") THEN 'F' WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('C', 'D', 'F', 'H') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") AND COUNT(CASE WHEN "logical_function_runs"."status" )sql"
      R"sql(IN ('F', 'H') THEN 1 END) > 0 THEN 'L' WHEN COUNT(CASE WHEN "logical_function_runs"."status" )sql"
      R"sql(IN ('S', 'RR', 'RS', 'R', 'D', 'E') THEN 1 END) > 0 THEN 'R' ELSE 'U' END AS "status", )sql"
      R"sql(COUNT(*) = COUNT(CASE WHEN "logical_function_runs"."status" IN ('C', 'X', 'Y') THEN 1 END) AS )sql"
      R"sql("finished", (SELECT COALESCE(jsonb_object_agg(inner_fr.status, inner_fr.count), '{}'::jsonb) )sql"
      R"sql(FROM (SELECT "logical_function_runs"."status", COUNT(*) AS "count" FROM )sql"
      R"sql("logical_function_runs" WHERE "logical_function_runs"."execution_id" = "executions"."id" GROUP )sql"
      R"sql(BY "logical_function_runs"."status") AS "inner_fr") AS "function_run_status_count" FROM )sql"
      R"sql("executions" LEFT JOIN "logical_function_runs" ON "logical_function_runs"."execution_id" = )sql"
      R"sql("executions"."id" GROUP BY "executions"."id")sql",
      R"sql(CREATE VIEW transaction_status_summary WITH (security_invoker = true) AS SELECT )sql"
      R"sql("transactions"."id" AS "transaction_id", CASE WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('S') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") THEN 'S' WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('C') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") THEN 'C' WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('X') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") THEN 'X' WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('Y') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") THEN 'Y' WHEN COUNT(CASE WHEN )sql"
      R"sql("logical_function_runs"."status" IN ('D', 'F', 'H') THEN 1 END) = )sql"
      R"sql(COUNT("logical_function_runs"."status") AND COUNT(CASE WHEN "logical_function_runs"."status" )sql"
      R"sql(IN ('F', 'H') THEN 1 END) > 0 THEN 'L' WHEN COUNT(CASE WHEN "logical_function_runs"."status" )sql"
      R"sql(IN ('S', 'RR', 'RS', 'R', 'D', 'E') THEN 1 END) > 0 THEN 'R' ELSE 'U' END AS "status", )sql"
      R"sql(COUNT(*) = COUNT(CASE WHEN "logical_function_runs"."status" IN ('C', 'X', 'Y') THEN 1 END) AS )sql"
      R"sql("finished", (SELECT COALESCE(jsonb_object_agg(inner_fr.status, inner_fr.count), '{}'::jsonb) )sql"
      R"sql(FROM (SELECT "logical_function_runs"."status", COUNT(*) AS "count" FROM )sql"
      R"sql("logical_function_runs" WHERE "logical_function_runs"."transaction_id" = "transactions"."id" )sql"
      R"sql(GROUP BY "logical_function_runs"."status") AS "inner_fr") AS "function_run_status_count" FROM )sql"
      R"sql("transactions" LEFT JOIN "logical_function_runs" ON "logical_function_runs"."transaction_id" = )sql"
      R"sql("transactions"."id" GROUP BY "transactions"."id")sql",
  }));
}

TEST(V4LogicalFunctionRuns, StickyTerminalsTrigger) {
  EXPECT_EQ(Defs().create_db_triggers(), (std::vector<source::Derived>{{{
      R"sql(CREATE OR REPLACE FUNCTION logical_function_runs__sticky_terminals_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  IF OLD.status IN ('C', 'X', 'Y') AND NEW.status != OLD.status THEN)sql" "\n"
      R"sql(    RAISE EXCEPTION 'logical_function_runs.status is sticky in terminal state';)sql" "\n"
      R"sql(  END IF;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER logical_function_runs__sticky_terminals BEFORE UPDATE OF status ON )sql"
      R"sql(logical_function_runs)sql" "\n"
      R"sql(FOR EACH ROW EXECUTE FUNCTION logical_function_runs__sticky_terminals_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS logical_function_runs__sticky_terminals ON logical_function_runs)sql",
      R"sql(DROP FUNCTION IF EXISTS logical_function_runs__sticky_terminals_fn())sql",
  }}}));
}

}  // namespace
}  // namespace schema::archive::v4::logical_function_runs
