#include "schema/current/workers.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::workers {
namespace {

using Texts = std::vector<std::string>;

TEST(Workers, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "workers" ( "id" bigint NOT NULL PRIMARY KEY, "project_id" text NOT NULL COLLATE )sql"
      R"sql("C", "collection_id" text NOT NULL COLLATE "C", "execution_id" bigint NULL, "transaction_id" )sql"
      R"sql(bigint NULL, "function_version_id" bigint NOT NULL, "physical_function_run_id" bigint NULL, )sql"
      R"sql("started_on" timestamp with time zone NULL, "ended_on" timestamp with time zone NULL, "status" )sql"
      R"sql(text NOT NULL, "worker_type" text NOT NULL, "worker_enabled" boolean NOT NULL, "worker_config" )sql"
      R"sql(text NULL, "failures" integer NOT NULL DEFAULT 0, "retry_at" timestamp with time zone NULL, )sql"
      R"sql("destination_write_on" timestamp with time zone NULL, FOREIGN KEY ("collection_id") REFERENCES )sql"
      R"sql("collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("execution_id") )sql"
      R"sql(REFERENCES "executions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("transaction_id") REFERENCES "transactions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )sql"
      R"sql(FOREIGN KEY ("function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE )sql"
      R"sql(RESTRICT, FOREIGN KEY ("physical_function_run_id") REFERENCES "physical_function_runs" ("id") )sql"
      R"sql(ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

// The third is named with "enabled", not "worker_enabled".
TEST(Workers, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "workers___collection_id___idx" ON "workers" ("collection_id"))sql",
      R"sql(CREATE INDEX "workers___function_version_id__worker_type___idx" ON "workers" )sql"
      R"sql(("function_version_id", "worker_type"))sql",
      R"sql(CREATE INDEX "workers___enabled__worker_type__status__project_id__id___idx" ON "workers" )sql"
      R"sql(("worker_enabled", "worker_type", "status", "project_id", "id"))sql",
      R"sql(CREATE INDEX "workers___started_on__id___idx" ON "workers" ("started_on", "id"))sql",
      R"sql(CREATE INDEX "workers___project_id__started_on__id___idx" ON "workers" ("project_id", )sql"
      R"sql("started_on", "id"))sql",
      R"sql(CREATE INDEX "workers___project_id__status__started_on__id___idx" ON "workers" ("project_id", )sql"
      R"sql("status", "started_on", "id"))sql",
      R"sql(CREATE INDEX "workers___project_id__id___idx" ON "workers" ("project_id", "id"))sql",
      R"sql(CREATE INDEX "workers___physical_function_run_id___idx" ON "workers" )sql"
      R"sql(("physical_function_run_id"))sql",
  }));
}

TEST(Workers, ViewOfEnabledWorkers) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW workers__with_names WITH (security_invoker = true) AS SELECT "workers".*, )sql"
      R"sql("logical_function_runs"."id" AS "logical_function_run_id", "collections_resolved"."name" AS )sql"
      R"sql("collection", "collections_resolved"."deleted" AS "collection_deleted", )sql"
      R"sql("collections_resolved"."connection_id" AS "connection_id", "connections"."kind" AS )sql"
      R"sql("connection", "executions"."name" AS "execution", "functions"."function_id" AS "function_id", )sql"
      R"sql("functions"."name" AS "function", "functions"."enabled" AS "enabled", )sql"
      R"sql("projects_resolved"."name" AS "project", "physical_function_runs"."function_version_patch_id" )sql"
      R"sql(AS "function_version_patch_id" FROM "workers" LEFT JOIN "collections_resolved" ON )sql"
      R"sql("workers"."collection_id" = "collections_resolved"."id" LEFT JOIN "connections" ON )sql"
      R"sql("collections_resolved"."connection_id" = "connections"."id" LEFT JOIN "executions" ON )sql"
      R"sql("workers"."execution_id" = "executions"."id" LEFT JOIN "functions" ON )sql"
      R"sql("workers"."function_version_id" = "functions"."id" LEFT JOIN "logical_function_runs" ON )sql"
      R"sql("workers"."execution_id" = "logical_function_runs"."execution_id" AND )sql"
      R"sql("functions"."function_id" = "logical_function_runs"."function_id" LEFT JOIN )sql"
      R"sql("physical_function_runs" ON "workers"."physical_function_run_id" = )sql"
      R"sql("physical_function_runs"."id" LEFT JOIN "projects_resolved" ON "workers"."project_id" = )sql"
      R"sql("projects_resolved"."id" WHERE "workers"."worker_enabled" = true)sql",
  }));
}

// (worker type, from, to) triples: 4 for "F", 18 for "CT", 16 for "ST".
TEST(Workers, TransitionsByWorkerType) {
  EXPECT_EQ(Defs().create_db_triggers(), (std::vector<source::Derived>{{{
      R"sql(CREATE OR REPLACE FUNCTION workers__transitions_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  IF NEW.status IS DISTINCT FROM OLD.status AND (OLD.worker_type, OLD.status, NEW.status) NOT )sql"
      R"sql(IN (VALUES ('F', 'RR', 'R'), ('F', 'RR', 'F'), ('F', 'R', 'D'), ('F', 'R', 'F'), ('CT', 'S', )sql"
      R"sql('RR'), ('CT', 'RR', 'R'), ('CT', 'RR', 'F'), ('CT', 'R', 'D'), ('CT', 'R', 'F'), ('CT', 'D', )sql"
      R"sql('R'), ('CT', 'D', 'F'), ('CT', 'F', 'R'), ('CT', 'F', 'D'), ('CT', 'S', 'SP'), ('CT', 'S', )sql"
      R"sql('SPS'), ('CT', 'RR', 'SPS'), ('CT', 'R', 'SPS'), ('CT', 'D', 'SPS'), ('CT', 'F', 'SPS'), )sql"
      R"sql(('CT', 'SPS', 'SPR'), ('CT', 'SPS', 'SP'), ('CT', 'SPR', 'SP'), ('ST', 'S', 'RR'), ('ST', )sql"
      R"sql('RR', 'R'), ('ST', 'RR', 'F'), ('ST', 'R', 'D'), ('ST', 'R', 'F'), ('ST', 'D', 'F'), ('ST', )sql"
      R"sql('F', 'R'), ('ST', 'S', 'SP'), ('ST', 'S', 'SPS'), ('ST', 'RR', 'SPS'), ('ST', 'R', 'SPS'), )sql"
      R"sql(('ST', 'D', 'SPS'), ('ST', 'F', 'SPS'), ('ST', 'SPS', 'SPR'), ('ST', 'SPS', 'SP'), ('ST', )sql"
      R"sql('SPR', 'SP')) THEN)sql" "\n"
      R"sql(    RAISE EXCEPTION 'workers.status cannot move from % to %', OLD.status, NEW.status;)sql" "\n"
      R"sql(  END IF;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER workers__transitions BEFORE UPDATE OF status ON workers)sql" "\n"
      R"sql(FOR EACH ROW EXECUTE FUNCTION workers__transitions_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS workers__transitions ON workers)sql",
      R"sql(DROP FUNCTION IF EXISTS workers__transitions_fn())sql",
  }}}));
}

}  // namespace
}  // namespace schema::current::workers
