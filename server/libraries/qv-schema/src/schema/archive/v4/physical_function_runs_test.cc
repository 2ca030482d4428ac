#include "schema/archive/v4/physical_function_runs.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::physical_function_runs {
namespace {

using Texts = std::vector<std::string>;

TEST(V4PhysicalFunctionRuns, TableWithMetricColumns) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "physical_function_runs" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT )sql"
      R"sql(NULL, "collection_id" text NOT NULL, "function_version_id" text NOT NULL, )sql"
      R"sql("function_version_patch_id" text NULL, "execution_id" text NOT NULL, "transaction_id" text NOT )sql"
      R"sql(NULL, "triggered_on" timestamp with time zone NOT NULL, "triggered_by_id" text NOT NULL, )sql"
      R"sql("trigger" text NOT NULL, "dispatched_on" timestamp with time zone NULL, "started_on" timestamp )sql"
      R"sql(with time zone NULL, "ended_on" timestamp with time zone NULL, "function_id" text NOT NULL )sql"
      R"sql(DEFAULT '', "status" text NOT NULL, "ended_on_hour_ms" bigint NULL, "ended_on_day_ms" bigint )sql"
      R"sql(NULL, "ended_on_week_ms" bigint NULL, "ended_on_month_ms" bigint NULL, "metric_table_versions" )sql"
      R"sql(bigint NULL, "metric_rows" bigint NULL, "metric_data_bytes" bigint NULL, "base_path" text NOT )sql"
      R"sql(NULL, "logical_function_run_id" text NOT NULL, "valid_to" timestamp with time zone NOT NULL, )sql"
      R"sql(FOREIGN KEY ("logical_function_run_id") REFERENCES "logical_function_runs" ("id") ON DELETE )sql"
      R"sql(RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON )sql"
      R"sql(DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("function_version_id") REFERENCES "functions" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("function_version_patch_id") )sql"
      R"sql(REFERENCES "function_patches" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("execution_id") REFERENCES "executions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

TEST(V4PhysicalFunctionRuns, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "pfr___status__project_id__triggered_on___idx" ON "physical_function_runs" )sql"
      R"sql(("status", "project_id", "triggered_on"))sql",
      R"sql(CREATE INDEX "pfr___status__project_id__dispatched_on___idx" ON "physical_function_runs" )sql"
      R"sql(("status", "project_id", "dispatched_on"))sql",
      R"sql(CREATE INDEX "pfr___project_id__execution_id__started_on__ended_on___idx" ON )sql"
      R"sql("physical_function_runs" ("project_id", "execution_id", "started_on", "ended_on"))sql",
      R"sql(CREATE INDEX "pfr___project_id__transaction_id__started_on__ended_on___idx" ON )sql"
      R"sql("physical_function_runs" ("project_id", "transaction_id", "started_on", "ended_on"))sql",
      R"sql(CREATE INDEX "pfr___function_version_patch_id___idx" ON "physical_function_runs" )sql"
      R"sql(("function_version_patch_id"))sql",
      R"sql(CREATE INDEX "pfr___function_version_id___idx" ON "physical_function_runs" )sql"
      R"sql(("function_version_id"))sql",
      R"sql(CREATE INDEX "pfr___project_id__ended_on___current_idx" ON "physical_function_runs" )sql"
      R"sql(("project_id", "ended_on") WHERE "valid_to" = 'infinity'::timestamptz)sql",
      R"sql(CREATE INDEX "pfr___project_id__id___idx" ON "physical_function_runs" ("project_id", "id"))sql",
      R"sql(CREATE UNIQUE INDEX "pfr___logical_function_run_id___current_uidx" ON "physical_function_runs" )sql"
      R"sql(("logical_function_run_id") WHERE "valid_to" = 'infinity'::timestamptz)sql",
      R"sql(CREATE INDEX "pfr___logical_function_run_id__triggered_on__id___idx" ON )sql"
      R"sql("physical_function_runs" ("logical_function_run_id", "triggered_on", "id"))sql",
  }));
}

TEST(V4PhysicalFunctionRuns, ViewWithNames) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW physical_function_runs__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("physical_function_runs".*, "functions"."name" AS "name", "collections_resolved"."name" AS )sql"
      R"sql("collection", "collections_resolved"."deleted" AS "collection_deleted", )sql"
      R"sql("collections_resolved"."connection_id" AS "connection_id", "connections"."kind" AS )sql"
      R"sql("connection", "projects_resolved"."name" AS "project", "executions"."name" AS "execution", )sql"
      R"sql("executions"."function_version_id" AS "execution_function_version_id", )sql"
      R"sql("functions"."storage_version" AS "storage_version", COALESCE(users.name, '[' || )sql"
      R"sql(physical_function_runs.triggered_by_id || ']') AS "triggered_by" FROM "physical_function_runs" )sql"
      R"sql(LEFT JOIN "collections_resolved" ON "physical_function_runs"."collection_id" = )sql"
      R"sql("collections_resolved"."id" LEFT JOIN "connections" ON "collections_resolved"."connection_id" )sql"
      R"sql(= "connections"."id" LEFT JOIN "projects_resolved" ON "physical_function_runs"."project_id" = )sql"
      R"sql("projects_resolved"."id" LEFT JOIN "functions" ON )sql"
      R"sql("physical_function_runs"."function_version_id" = "functions"."id" LEFT JOIN "executions" ON )sql"
      R"sql("physical_function_runs"."execution_id" = "executions"."id" LEFT JOIN "users" ON )sql"
      R"sql("physical_function_runs"."triggered_by_id" = "users"."id")sql",
  }));
}

// Only the close trigger, on "triggered_on".
TEST(V4PhysicalFunctionRuns, CloseTrigger) {
  EXPECT_EQ(Defs().create_db_triggers(), (std::vector<source::Derived>{{{
      R"sql(CREATE OR REPLACE FUNCTION physical_function_runs__scd2_close_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  PERFORM pg_advisory_xact_lock(hashtextextended('physical_function_runs:' || )sql"
      R"sql(NEW.logical_function_run_id, 0));)sql" "\n"
      R"sql(  SELECT COALESCE(MIN(triggered_on), 'infinity') INTO NEW.valid_to)sql" "\n"
      R"sql(  FROM physical_function_runs)sql" "\n"
      R"sql(  WHERE logical_function_run_id = NEW.logical_function_run_id)sql" "\n"
      R"sql(    AND (triggered_on, id) > (NEW.triggered_on, NEW.id);)sql" "\n"
      R"sql(  UPDATE physical_function_runs SET valid_to = NEW.triggered_on)sql" "\n"
      R"sql(  WHERE logical_function_run_id = NEW.logical_function_run_id)sql" "\n"
      R"sql(    AND (triggered_on, id) < (NEW.triggered_on, NEW.id))sql" "\n"
      R"sql(    AND valid_to > NEW.triggered_on;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER physical_function_runs__scd2_close BEFORE INSERT ON physical_function_runs)sql" "\n"
      R"sql(FOR EACH ROW EXECUTE FUNCTION physical_function_runs__scd2_close_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS physical_function_runs__scd2_close ON physical_function_runs)sql",
      R"sql(DROP FUNCTION IF EXISTS physical_function_runs__scd2_close_fn())sql",
  }}}));
}

}  // namespace
}  // namespace schema::archive::v4::physical_function_runs
