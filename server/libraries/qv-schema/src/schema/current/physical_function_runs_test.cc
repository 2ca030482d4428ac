#include "schema/current/physical_function_runs.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::physical_function_runs {
namespace {

using Texts = std::vector<std::string>;

// "base_path" comes after "status", unlike in the identifier enumeration.
TEST(PhysicalFunctionRuns, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "physical_function_runs" ( "id" bigint NOT NULL PRIMARY KEY, "project_id" text )sql"
      R"sql(NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", "function_version_id" bigint )sql"
      R"sql(NOT NULL, "function_version_patch_id" bigint NULL, "execution_id" bigint NOT NULL, )sql"
      R"sql("transaction_id" bigint NOT NULL, "valid_from" timestamp with time zone NOT NULL, )sql"
      R"sql("triggered_by_id" text NOT NULL COLLATE "C", "trigger" text NOT NULL, "dispatched_on" )sql"
      R"sql(timestamp with time zone NULL, "started_on" timestamp with time zone NULL, "ended_on" )sql"
      R"sql(timestamp with time zone NULL, "function_id" text NOT NULL DEFAULT '' COLLATE "C", "status" )sql"
      R"sql(text NOT NULL, "base_path" text NOT NULL, "logical_function_run_id" bigint NOT NULL, )sql"
      R"sql("valid_to" timestamp with time zone NOT NULL, FOREIGN KEY ("logical_function_run_id") )sql"
      R"sql(REFERENCES "logical_function_runs" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )sql"
      R"sql(FOREIGN KEY ("function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE )sql"
      R"sql(RESTRICT, FOREIGN KEY ("function_version_patch_id") REFERENCES "function_patches" ("id") ON )sql"
      R"sql(DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("execution_id") REFERENCES "executions" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

TEST(PhysicalFunctionRuns, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "pfr___status__project_id__valid_from___idx" ON "physical_function_runs" )sql"
      R"sql(("status", "project_id", "valid_from"))sql",
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
      R"sql(CREATE INDEX "pfr___project_id__id___idx" ON "physical_function_runs" ("project_id", "id"))sql",
      R"sql(CREATE UNIQUE INDEX "pfr___logical_function_run_id___current_uidx" ON "physical_function_runs" )sql"
      R"sql(("logical_function_run_id") WHERE "valid_to" = 'infinity'::timestamptz)sql",
      R"sql(CREATE INDEX "pfr___logical_function_run_id__valid_from__id___idx" ON "physical_function_runs" )sql"
      R"sql(("logical_function_run_id", "valid_from", "id"))sql",
  }));
}

TEST(PhysicalFunctionRuns, ViewWithNames) {
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

// Close, open-after-end guard and transitions, in this order.
TEST(PhysicalFunctionRuns, Triggers) {
  const std::vector<source::Derived> triggers = Defs().create_db_triggers();
  ASSERT_EQ(triggers.size(), 3u);
  EXPECT_EQ(triggers[0], (source::Derived{{
      R"sql(CREATE OR REPLACE FUNCTION physical_function_runs__scd2_close_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  PERFORM pg_advisory_xact_lock(hashtextextended('physical_function_runs:' || )sql"
      R"sql(NEW.logical_function_run_id, 0));)sql" "\n"
      R"sql(  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to)sql" "\n"
      R"sql(  FROM physical_function_runs)sql" "\n"
      R"sql(  WHERE logical_function_run_id = NEW.logical_function_run_id)sql" "\n"
      R"sql(    AND (valid_from, id) > (NEW.valid_from, NEW.id);)sql" "\n"
      R"sql(  UPDATE physical_function_runs SET valid_to = NEW.valid_from)sql" "\n"
      R"sql(  WHERE logical_function_run_id = NEW.logical_function_run_id)sql" "\n"
      R"sql(    AND (valid_from, id) < (NEW.valid_from, NEW.id))sql" "\n"
      R"sql(    AND valid_to > NEW.valid_from;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER physical_function_runs__scd2_close BEFORE INSERT ON physical_function_runs)sql" "\n"
      R"sql(FOR EACH ROW EXECUTE FUNCTION physical_function_runs__scd2_close_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS physical_function_runs__scd2_close ON physical_function_runs)sql",
      R"sql(DROP FUNCTION IF EXISTS physical_function_runs__scd2_close_fn())sql",
  }}));
  EXPECT_EQ(triggers[1], (source::Derived{{
      R"sql(CREATE OR REPLACE FUNCTION physical_function_runs__open_after_end_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  PERFORM pg_advisory_xact_lock(hashtextextended('physical_function_runs:' || )sql"
      R"sql(NEW.logical_function_run_id, 0));)sql" "\n"
      R"sql(  IF EXISTS (SELECT 1 FROM physical_function_runs WHERE logical_function_run_id = )sql"
      R"sql(NEW.logical_function_run_id AND valid_to = 'infinity' AND status IN ('RR', 'DP', 'R')) THEN)sql" "\n"
      R"sql(    RAISE EXCEPTION 'physical_function_runs: % still has an open version in progress', )sql"
      R"sql(NEW.logical_function_run_id;)sql" "\n"
      R"sql(  END IF;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER physical_function_runs__open_after_end BEFORE INSERT ON physical_function_runs)sql" "\n"
      R"sql(FOR EACH ROW EXECUTE FUNCTION physical_function_runs__open_after_end_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS physical_function_runs__open_after_end ON physical_function_runs)sql",
      R"sql(DROP FUNCTION IF EXISTS physical_function_runs__open_after_end_fn())sql",
  }}));
  EXPECT_EQ(triggers[2], (source::Derived{{
      R"sql(CREATE OR REPLACE FUNCTION physical_function_runs__transitions_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  IF NEW.status IS DISTINCT FROM OLD.status AND (OLD.status, NEW.status) NOT IN (VALUES ('RR', )sql"
      R"sql('DP'), ('RR', 'F'), ('DP', 'R'), ('DP', 'F'), ('R', 'D'), ('R', 'F')) THEN)sql" "\n"
      R"sql(    RAISE EXCEPTION 'physical_function_runs.status cannot move from % to %', OLD.status, )sql"
      R"sql(NEW.status;)sql" "\n"
      R"sql(  END IF;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER physical_function_runs__transitions BEFORE UPDATE OF status ON )sql"
      R"sql(physical_function_runs)sql" "\n"
      R"sql(FOR EACH ROW EXECUTE FUNCTION physical_function_runs__transitions_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS physical_function_runs__transitions ON physical_function_runs)sql",
      R"sql(DROP FUNCTION IF EXISTS physical_function_runs__transitions_fn())sql",
  }}));
}

}  // namespace
}  // namespace schema::current::physical_function_runs
