#include "schema/current/logical_function_runs.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::logical_function_runs {
namespace {

using Texts = std::vector<std::string>;

TEST(LogicalFunctionRuns, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "logical_function_runs" ( "id" bigint NOT NULL PRIMARY KEY, "project_id" text NOT )sql"
      R"sql(NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", "execution_id" bigint NOT NULL, )sql"
      R"sql("transaction_id" bigint NOT NULL, "function_id" text NOT NULL COLLATE "C", )sql"
      R"sql("function_version_id" bigint NOT NULL DEFAULT 197001010000000001, "trigger" text NOT NULL, )sql"
      R"sql("triggered_on" timestamp with time zone NOT NULL, "triggered_by_id" text NOT NULL COLLATE "C", )sql"
      R"sql("status" text NOT NULL, "group_id" text NOT NULL COLLATE "C", "recoveries" integer NOT NULL )sql"
      R"sql(DEFAULT 0, FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON )sql"
      R"sql(UPDATE RESTRICT, FOREIGN KEY ("group_id") REFERENCES "groups" ("id") ON DELETE RESTRICT ON )sql"
      R"sql(UPDATE RESTRICT, FOREIGN KEY ("execution_id") REFERENCES "executions" ("id") ON DELETE )sql"
      R"sql(RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("transaction_id") REFERENCES "transactions" ("id") )sql"
      R"sql(ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

// The fifth is unique although its name ends in ___idx; the last five are
// time-ordered.
TEST(LogicalFunctionRuns, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "logical_function_runs___group_id__project_id___idx" ON "logical_function_runs" )sql"
      R"sql(("group_id", "project_id"))sql",
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
      R"sql(CREATE INDEX "logical_function_runs___triggered_on__id___idx" ON "logical_function_runs" )sql"
      R"sql(("triggered_on", "id"))sql",
      R"sql(CREATE INDEX "logical_function_runs___project_id__triggered_on__id___idx" ON )sql"
      R"sql("logical_function_runs" ("project_id", "triggered_on", "id"))sql",
      R"sql(CREATE INDEX "logical_function_runs___collection_id__triggered_on__id___idx" ON )sql"
      R"sql("logical_function_runs" ("collection_id", "triggered_on", "id"))sql",
      R"sql(CREATE INDEX "logical_function_runs___execution_id__triggered_on__id___idx" ON )sql"
      R"sql("logical_function_runs" ("execution_id", "triggered_on", "id"))sql",
      R"sql(CREATE INDEX "logical_function_runs___transaction_id__triggered_on__id___idx" ON )sql"
      R"sql("logical_function_runs" ("transaction_id", "triggered_on", "id"))sql",
  }));
}

TEST(LogicalFunctionRuns, TimeOrderedWithAndWithoutLeadingColumn) {
  EXPECT_EQ(sqlbuilder::to_sql(time_ordered("a", std::nullopt)),
            R"sql(CREATE INDEX "a" ON "logical_function_runs" ("triggered_on", "id"))sql");
  EXPECT_EQ(sqlbuilder::to_sql(time_ordered("b", LogicalFunctionRuns::GroupId)),
            R"sql(CREATE INDEX "b" ON "logical_function_runs" ("group_id", "triggered_on", "id"))sql");
}

TEST(LogicalFunctionRuns, ViewWithNames) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW function_runs__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("logical_function_runs".*, "functions"."name" AS "name", "collections_resolved"."name" AS )sql"
      R"sql("collection", "collections_resolved"."deleted" AS "collection_deleted", "executions"."name" AS )sql"
      R"sql("execution", COALESCE(users.name, '[' || logical_function_runs.triggered_by_id || ']') AS )sql"
      R"sql("triggered_by", "groups_for_lfr"."name" AS "group", "projects_resolved"."name" AS "project", )sql"
      R"sql("physical_function_runs"."id" AS "physical_function_run_id", )sql"
      R"sql("physical_function_runs"."started_on" AS "started_on", "physical_function_runs"."ended_on" AS )sql"
      R"sql("ended_on", "physical_function_runs"."status" AS "physical_status", )sql"
      R"sql("physical_function_runs"."function_version_patch_id" AS "function_version_patch_id" FROM )sql"
      R"sql("logical_function_runs" LEFT JOIN "collections_resolved" ON )sql"
      R"sql("logical_function_runs"."collection_id" = "collections_resolved"."id" LEFT JOIN "groups" AS )sql"
      R"sql("groups_for_lfr" ON "logical_function_runs"."group_id" = "groups_for_lfr"."id" LEFT JOIN )sql"
      R"sql("projects_resolved" ON "logical_function_runs"."project_id" = "projects_resolved"."id" LEFT )sql"
      R"sql(JOIN "functions" ON "logical_function_runs"."function_version_id" = "functions"."id" LEFT JOIN )sql"
      R"sql("executions" ON "logical_function_runs"."execution_id" = "executions"."id" LEFT JOIN "users" )sql"
      R"sql(ON "logical_function_runs"."triggered_by_id" = "users"."id" LEFT JOIN "physical_function_runs" )sql"
      R"sql(ON "physical_function_runs"."logical_function_run_id" = "logical_function_runs"."id" AND )sql"
      R"sql("physical_function_runs"."valid_to" = 'infinity'::timestamptz)sql",
  }));
}

// 34 allowed (from, to) pairs; "X" and "Y" have none, "C" only moves to "Y".
TEST(LogicalFunctionRuns, TransitionsTrigger) {
  EXPECT_EQ(Defs().create_db_triggers(), (std::vector<source::Derived>{{{
      R"sql(CREATE OR REPLACE FUNCTION logical_function_runs__transitions_fn() RETURNS TRIGGER AS $$)sql" "\n"
      R"sql(BEGIN)sql" "\n"
      R"sql(  IF NEW.status IS DISTINCT FROM OLD.status AND (OLD.status, NEW.status) NOT IN (VALUES ('S', )sql"
      R"sql('RR'), ('S', 'H'), ('S', 'RS'), ('S', 'X'), ('RR', 'S'), ('RR', 'R'), ('RR', 'E'), ('RR', )sql"
      R"sql('F'), ('RR', 'H'), ('RR', 'RS'), ('RR', 'X'), ('RS', 'RR'), ('RS', 'H'), ('RS', 'X'), ('R', )sql"
      R"sql('D'), ('R', 'E'), ('R', 'F'), ('R', 'H'), ('R', 'RS'), ('R', 'X'), ('D', 'C'), ('D', 'H'), )sql"
      R"sql(('D', 'RS'), ('D', 'X'), ('C', 'Y'), ('E', 'H'), ('E', 'RS'), ('E', 'X'), ('F', 'D'), ('F', )sql"
      R"sql('H'), ('F', 'RS'), ('F', 'X'), ('H', 'RS'), ('H', 'X')) THEN)sql" "\n"
      R"sql(    RAISE EXCEPTION 'logical_function_runs.status cannot move from % to %', OLD.status, )sql"
      R"sql(NEW.status;)sql" "\n"
      R"sql(  END IF;)sql" "\n"
      R"sql(  RETURN NEW;)sql" "\n"
      R"sql(END;)sql" "\n"
      R"sql($$ LANGUAGE plpgsql)sql",
      R"sql(CREATE TRIGGER logical_function_runs__transitions BEFORE UPDATE OF status ON )sql"
      R"sql(logical_function_runs)sql" "\n"
      R"sql(FOR EACH ROW EXECUTE FUNCTION logical_function_runs__transitions_fn())sql",
  }, {
      R"sql(DROP TRIGGER IF EXISTS logical_function_runs__transitions ON logical_function_runs)sql",
      R"sql(DROP FUNCTION IF EXISTS logical_function_runs__transitions_fn())sql",
  }}}));
}

}  // namespace
}  // namespace schema::current::logical_function_runs
