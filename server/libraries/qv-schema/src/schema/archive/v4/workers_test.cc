#include "schema/archive/v4/workers.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::workers {
namespace {

using Texts = std::vector<std::string>;

TEST(V4Workers, TableWithMessageStatus) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "workers" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )sql"
      R"sql("collection_id" text NOT NULL, "execution_id" text NULL, "transaction_id" text NULL, )sql"
      R"sql("function_version_id" text NOT NULL, "physical_function_run_id" text NULL, "message_status" )sql"
      R"sql(text NOT NULL, "started_on" timestamp with time zone NULL, "ended_on" timestamp with time zone )sql"
      R"sql(NULL, "status" text NOT NULL, "worker_type" text NOT NULL, "worker_enabled" boolean NOT NULL, )sql"
      R"sql("worker_config" text NULL, FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON )sql"
      R"sql(DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("execution_id") REFERENCES "executions" )sql"
      R"sql(("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("transaction_id") REFERENCES )sql"
      R"sql("transactions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )sql"
      R"sql(FOREIGN KEY ("physical_function_run_id") REFERENCES "physical_function_runs" ("id") ON DELETE )sql"
      R"sql(RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

TEST(V4Workers, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "workers___collection_id___idx" ON "workers" ("collection_id"))sql",
      R"sql(CREATE INDEX "workers___function_version_id__worker_type___idx" ON "workers" )sql"
      R"sql(("function_version_id", "worker_type"))sql",
      R"sql(CREATE INDEX "workers___enabled__worker_type__status__project_id__id___idx" ON "workers" )sql"
      R"sql(("worker_enabled", "worker_type", "status", "project_id", "id"))sql",
      R"sql(CREATE INDEX "workers___project_id__id___idx" ON "workers" ("project_id", "id"))sql",
      R"sql(CREATE INDEX "workers___physical_function_run_id___idx" ON "workers" )sql"
      R"sql(("physical_function_run_id"))sql",
  }));
}

TEST(V4Workers, ViewWithoutFunctionId) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW workers__with_names WITH (security_invoker = true) AS SELECT "workers".*, )sql"
      R"sql("logical_function_runs"."id" AS "logical_function_run_id", "collections_resolved"."name" AS )sql"
      R"sql("collection", "collections_resolved"."deleted" AS "collection_deleted", )sql"
      R"sql("collections_resolved"."connection_id" AS "connection_id", "connections"."kind" AS )sql"
      R"sql("connection", "executions"."name" AS "execution", "functions"."name" AS "function", )sql"
      R"sql("functions"."enabled" AS "enabled", "projects_resolved"."name" AS "project", )sql"
      R"sql("physical_function_runs"."function_version_patch_id" AS "function_version_patch_id" FROM )sql"
      R"sql("workers" LEFT JOIN "collections_resolved" ON "workers"."collection_id" = )sql"
      R"sql("collections_resolved"."id" LEFT JOIN "connections" ON "collections_resolved"."connection_id" )sql"
      R"sql(= "connections"."id" LEFT JOIN "executions" ON "workers"."execution_id" = "executions"."id" )sql"
      R"sql(LEFT JOIN "functions" ON "workers"."function_version_id" = "functions"."id" LEFT JOIN )sql"
      R"sql("logical_function_runs" ON "workers"."execution_id" = "logical_function_runs"."execution_id" )sql"
      R"sql(AND "functions"."function_id" = "logical_function_runs"."function_id" LEFT JOIN )sql"
      R"sql("physical_function_runs" ON "workers"."physical_function_run_id" = )sql"
      R"sql("physical_function_runs"."id" LEFT JOIN "projects_resolved" ON "workers"."project_id" = )sql"
      R"sql("projects_resolved"."id" WHERE "workers"."worker_enabled" = true)sql",
  }));
}

TEST(V4Workers, NoTrigger) { EXPECT_TRUE(Defs().create_db_triggers().empty()); }

}  // namespace
}  // namespace schema::archive::v4::workers
