#include "schema/current/logical_table_data_versions.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::logical_table_data_versions {
namespace {

using Texts = std::vector<std::string>;

TEST(LogicalTableDataVersions, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "logical_table_data_versions" ( "id" bigint NOT NULL PRIMARY KEY, "project_id" )sql"
      R"sql(text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", "execution_id" bigint )sql"
      R"sql(NOT NULL, "transaction_id" bigint NOT NULL, "table_id" text NOT NULL COLLATE "C", )sql"
      R"sql("producer_logical_function_run_id" bigint NULL, "function_param_pos" integer NULL, "private" )sql"
      R"sql(boolean NOT NULL, "triggered_on" timestamp with time zone NOT NULL, "triggered_by_id" text NOT )sql"
      R"sql(NULL COLLATE "C", "group_id" text NOT NULL COLLATE "C", FOREIGN KEY ("collection_id") )sql"
      R"sql(REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("group_id") REFERENCES "groups" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("execution_id") REFERENCES "executions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN )sql"
      R"sql(KEY ("transaction_id") REFERENCES "transactions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )sql"
      R"sql(FOREIGN KEY ("producer_logical_function_run_id") REFERENCES "logical_function_runs" ("id") ON )sql"
      R"sql(DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

// Three names take the short prefix "ltdv"; the last two are time-ordered.
TEST(LogicalTableDataVersions, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "logical_table_data_versions___group_id__project_id___idx" ON )sql"
      R"sql("logical_table_data_versions" ("group_id", "project_id"))sql",
      R"sql(CREATE INDEX "logical_table_data_versions___table_id__triggered_on__id___idx" ON )sql"
      R"sql("logical_table_data_versions" ("table_id", "triggered_on", "id"))sql",
      R"sql(CREATE INDEX "ltdv___producer_logical_function_run_id___idx" ON "logical_table_data_versions" )sql"
      R"sql(("producer_logical_function_run_id"))sql",
      R"sql(CREATE INDEX "logical_table_data_versions___execution_id__table_id___idx" ON )sql"
      R"sql("logical_table_data_versions" ("execution_id", "table_id"))sql",
      R"sql(CREATE INDEX "logical_table_data_versions___project_id__id___idx" ON )sql"
      R"sql("logical_table_data_versions" ("project_id", "id"))sql",
      R"sql(CREATE INDEX "ltdv___collection_id__triggered_on__id___idx" ON "logical_table_data_versions" )sql"
      R"sql(("collection_id", "triggered_on", "id"))sql",
      R"sql(CREATE INDEX "ltdv___execution_id__triggered_on__id___idx" ON "logical_table_data_versions" )sql"
      R"sql(("execution_id", "triggered_on", "id"))sql",
  }));
}

TEST(LogicalTableDataVersions, TimeOrdered) {
  EXPECT_EQ(sqlbuilder::to_sql(time_ordered("a", LogicalTableDataVersions::TableId)),
            R"sql(CREATE INDEX "a" ON "logical_table_data_versions" ("table_id", "triggered_on", "id"))sql");
}

// The names view reaches the live physical version's run, function and
// parent table; the active view leaves out versions whose run is "Y" or "X".
TEST(LogicalTableDataVersions, Views) {
  EXPECT_EQ(entity_texts::views(Defs()), (Texts{
      R"sql(CREATE VIEW table_data_versions__with_names WITH (security_invoker = true) AS SELECT )sql"
      R"sql("logical_table_data_versions".*, "collections_resolved"."name" AS "collection", )sql"
      R"sql("collections_resolved"."deleted" AS "collection_deleted", "executions"."name" AS "execution", )sql"
      R"sql(COALESCE(users.name, '[' || logical_table_data_versions.triggered_by_id || ']') AS )sql"
      R"sql("triggered_by", "groups_for_ltdv"."name" AS "group", "physical_table_data_versions"."id" AS )sql"
      R"sql("physical_table_data_version_id", "physical_table_data_versions"."name" AS "name", )sql"
      R"sql("physical_table_data_versions"."table_version_id" AS "table_version_id", )sql"
      R"sql("physical_table_data_versions"."function_version_id" AS "function_version_id", )sql"
      R"sql("physical_table_data_versions"."function_version_patch_id" AS "function_version_patch_id", )sql"
      R"sql("physical_table_data_versions"."has_data" AS "has_data", )sql"
      R"sql("physical_table_data_versions"."schema_changed" AS "schema_changed", )sql"
      R"sql("physical_table_data_versions"."column_count" AS "column_count", )sql"
      R"sql("physical_table_data_versions"."row_count" AS "row_count", )sql"
      R"sql("physical_table_data_versions"."data_bytes" AS "data_bytes", )sql"
      R"sql("physical_table_data_versions"."schema_hash" AS "schema_hash", )sql"
      R"sql("physical_table_data_versions"."with_data_table_data_version_id" AS )sql"
      R"sql("with_data_table_data_version_id", "physical_table_data_versions"."physical_function_run_id" )sql"
      R"sql(AS "physical_function_run_id", "physical_function_runs"."started_on" AS "started_on", )sql"
      R"sql("physical_function_runs"."ended_on" AS "ended_on", "logical_function_runs"."status" AS )sql"
      R"sql("status", "physical_function_runs"."status" AS "physical_status", "functions"."name" AS )sql"
      R"sql("function", "functions"."storage_version" AS "storage_version", "tables"."parent_table_id" AS )sql"
      R"sql("parent_table_id" FROM "logical_table_data_versions" LEFT JOIN "collections_resolved" ON )sql"
      R"sql("logical_table_data_versions"."collection_id" = "collections_resolved"."id" LEFT JOIN )sql"
      R"sql("executions" ON "logical_table_data_versions"."execution_id" = "executions"."id" LEFT JOIN )sql"
      R"sql("users" ON "logical_table_data_versions"."triggered_by_id" = "users"."id" LEFT JOIN )sql"
      R"sql("physical_table_data_versions" ON )sql"
      R"sql("physical_table_data_versions"."logical_table_data_version_id" = )sql"
      R"sql("logical_table_data_versions"."id" AND "physical_table_data_versions"."valid_to" = )sql"
      R"sql('infinity'::timestamptz LEFT JOIN "physical_function_runs" ON "physical_function_runs"."id" = )sql"
      R"sql("physical_table_data_versions"."physical_function_run_id" LEFT JOIN "logical_function_runs" ON )sql"
      R"sql("logical_table_data_versions"."producer_logical_function_run_id" = )sql"
      R"sql("logical_function_runs"."id" LEFT JOIN "functions" ON )sql"
      R"sql("physical_table_data_versions"."function_version_id" = "functions"."id" LEFT JOIN "tables" ON )sql"
      R"sql("physical_table_data_versions"."table_version_id" = "tables"."id" LEFT JOIN "groups" AS )sql"
      R"sql("groups_for_ltdv" ON "logical_table_data_versions"."group_id" = "groups_for_ltdv"."id")sql",
      R"sql(CREATE VIEW logical_table_data_versions__active WITH (security_invoker = true) AS SELECT )sql"
      R"sql("logical_table_data_versions".* FROM "logical_table_data_versions" LEFT JOIN )sql"
      R"sql("logical_function_runs" ON "logical_table_data_versions"."producer_logical_function_run_id" = )sql"
      R"sql("logical_function_runs"."id" WHERE "logical_function_runs"."status" IS NULL OR )sql"
      R"sql("logical_function_runs"."status" NOT IN ('Y', 'X'))sql",
  }));
}

}  // namespace
}  // namespace schema::current::logical_table_data_versions
