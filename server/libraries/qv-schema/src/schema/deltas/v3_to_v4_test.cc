#include "schema/deltas/v3_to_v4.h"

#include <gtest/gtest.h>

#include "schema/testing/folded.h"

namespace schema::deltas::v3_to_v4 {
namespace {

using Texts = std::vector<std::string>;
using testing::folded;

std::string q(const std::string& name) { return "\"" + name + "\""; }

Texts expected_up() {
  Texts up = {
      R"sql(ALTER TABLE "physical_function_runs" ADD COLUMN "logical_function_run_id" text NULL)sql",
      R"sql(ALTER TABLE "physical_function_runs" ADD COLUMN "valid_to" timestamptz NULL)sql",
      R"sql(UPDATE "physical_function_runs" SET "logical_function_run_id" = e."logical_function_run_id" FROM )sql"
      R"sql("logical_function_run_pointers" AS e WHERE e."physical_function_run_id" = )sql"
      R"sql("physical_function_runs"."id")sql",
      R"sql(ALTER TABLE "physical_table_data_versions" ADD COLUMN "logical_table_data_version_id" text NULL)sql",
      R"sql(ALTER TABLE "physical_table_data_versions" ADD COLUMN "valid_to" timestamptz NULL)sql",
      R"sql(UPDATE "physical_table_data_versions" SET "logical_table_data_version_id" = )sql"
      R"sql(e."logical_table_data_version_id" FROM "logical_table_data_version_pointers" AS e WHERE )sql"
      R"sql(e."physical_table_data_version_id" = "physical_table_data_versions"."id")sql",
      R"sql(UPDATE "physical_function_runs" SET "logical_function_run_id" = l."id" FROM "logical_function_runs" )sql"
      R"sql(AS l WHERE "physical_function_runs"."logical_function_run_id" IS NULL AND l."execution_id" = )sql"
      R"sql("physical_function_runs"."execution_id" AND l."function_id" = "physical_function_runs"."function_id")sql",
      R"sql(UPDATE "physical_table_data_versions" SET "logical_table_data_version_id" = l."id" FROM )sql"
      R"sql("logical_table_data_versions" AS l, "physical_function_runs" AS p WHERE )sql"
      R"sql("physical_table_data_versions"."logical_table_data_version_id" IS NULL AND p."id" = )sql"
      R"sql("physical_table_data_versions"."physical_function_run_id" AND l."producer_logical_function_run_id" = )sql"
      R"sql(p."logical_function_run_id" AND l."table_id" = "physical_table_data_versions"."table_id")sql",
      R"sql(ALTER TABLE "physical_function_runs" ALTER COLUMN "logical_function_run_id" SET NOT NULL)sql",
      R"sql(ALTER TABLE "physical_function_runs" ADD FOREIGN KEY ("logical_function_run_id") REFERENCES )sql"
      R"sql("logical_function_runs" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT)sql",
      R"sql(ALTER TABLE "physical_table_data_versions" ALTER COLUMN "logical_table_data_version_id" SET NOT NULL)sql",
      R"sql(ALTER TABLE "physical_table_data_versions" ADD FOREIGN KEY ("logical_table_data_version_id") )sql"
      R"sql(REFERENCES "logical_table_data_versions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT)sql",
  };
  for (const char* table : {"functions", "function_patches", "tables", "dependencies", "triggers"}) {
    up.push_back("ALTER TABLE " + q(table) + " ADD COLUMN \"valid_to\" timestamptz NULL");
  }
  const struct {
    std::string table, partition, order;
  } chains[] = {
      {"functions", "function_id", "defined_on"},
      {"function_patches", "parent_function_version_id", "defined_on"},
      {"tables", "table_id", "defined_on"},
      {"dependencies", "dependency_id", "defined_on"},
      {"triggers", "trigger_id", "defined_on"},
      {"physical_function_runs", "logical_function_run_id", "triggered_on"},
      {"physical_table_data_versions", "logical_table_data_version_id", "triggered_on"},
  };
  for (const auto& c : chains) {
    up.push_back("UPDATE " + q(c.table) +
                 " SET \"valid_to\" = COALESCE(n.\"next_valid_from\", 'infinity') FROM (SELECT \"id\", LEAD(" +
                 q(c.order) + ") OVER (PARTITION BY " + q(c.partition) + " ORDER BY " + q(c.order) +
                 ", \"id\") AS \"next_valid_from\" FROM " + q(c.table) + ") AS n WHERE " + q(c.table) +
                 ".\"id\" = n.\"id\"");
    up.push_back("ALTER TABLE " + q(c.table) + " ALTER COLUMN \"valid_to\" SET NOT NULL");
  }
  up.push_back(
      R"sql(UPDATE "tables" SET "function_version_id" = (SELECT f."id" FROM "functions" AS f WHERE )sql"
      R"sql(f."function_id" = "tables"."function_id" AND f."status" <> 'D' ORDER BY f."defined_on" DESC, f."id" )sql"
      R"sql(DESC LIMIT 1) WHERE "function_version_id" IN (SELECT "id" FROM "functions" WHERE "status" = 'D'))sql");
  for (const char* table : {"dependencies", "triggers", "tables", "functions"}) {
    up.push_back("DELETE FROM " + q(table) + " WHERE \"status\" = 'D'");
  }
  up.push_back(R"sql(ALTER TABLE "dependencies" DROP COLUMN "status")sql");
  const std::pair<std::string, std::string> closings[] = {
      {"tables", R"sql( AND "tables"."status" = 'A' AND "tables"."name" LIKE 'qv.fn\_state\_\_%')sql"},
      {"dependencies", ""},
      {"triggers", ""},
  };
  for (const auto& [table, extra] : closings) {
    up.push_back("UPDATE " + q(table) +
                 R"sql( SET "valid_to" = f."closed_on" FROM (SELECT "function_id", MAX("valid_to") AS "closed_on" )sql"
                 R"sql(FROM "functions" GROUP BY "function_id" HAVING MAX("valid_to") < 'infinity') AS f WHERE )sql" +
                 q(table) + ".\"function_id\" = f.\"function_id\" AND " + q(table) + ".\"valid_to\" = 'infinity'" +
                 extra);
  }
  for (const char* table :
       {"functions_current", "function_patches_current", "tables_current", "dependencies_current", "triggers_current",
        "logical_function_run_pointers_current", "logical_table_data_version_pointers_current",
        "logical_function_run_pointers", "logical_table_data_version_pointers"}) {
    up.push_back("DROP TABLE " + q(table));
  }
  // The 27 names of the step less the nine tables just dropped.
  for (const std::string table :
       {"groups", "connections", "collections", "bundles", "functions", "function_patches", "tables", "dependencies",
        "triggers", "executions", "transactions", "physical_function_runs", "physical_table_data_versions",
        "table_partitions", "workers", "logical_function_runs", "logical_table_data_versions",
        "logical_function_run_inputs"}) {
    up.push_back("DROP POLICY project_isolation ON " + table);
    up.push_back("CREATE POLICY project_isolation ON " + table +
                 " USING (project_id = current_setting('app.project_id', true)) WITH CHECK (project_id = "
                 "current_setting('app.project_id', true))");
    up.push_back("CREATE POLICY across_projects ON " + table + " TO qv_across_projects USING (true) WITH CHECK (true)");
  }
  up.push_back("UPDATE quorvale_system SET value = '4' WHERE name = 'db_version'");
  return up;
}

Texts expected_retired() {
  Texts retired;
  for (const char* view : {"dependencies_current__with_names", "functions_current__with_names",
                           "tables_current__with_names", "triggers_current__with_names"}) {
    retired.push_back(std::string("DROP VIEW IF EXISTS ") + view);
  }
  for (const std::string table : {"functions", "function_patches", "tables", "dependencies", "triggers"}) {
    retired.push_back("DROP TRIGGER IF EXISTS " + table + "__maintain_current ON " + table);
    retired.push_back("DROP FUNCTION IF EXISTS " + table + "__maintain_current_fn()");
  }
  for (const std::string table : {"logical_function_run_pointers", "logical_table_data_version_pointers"}) {
    retired.push_back("DROP TRIGGER IF EXISTS " + table + "__maintain_current ON " + table);
    retired.push_back("DROP TRIGGER IF EXISTS " + table + "__immutable_no_update ON " + table);
    retired.push_back("DROP TRIGGER IF EXISTS " + table + "__immutable_no_delete ON " + table);
    retired.push_back("DROP FUNCTION IF EXISTS " + table + "__maintain_current_fn()");
    retired.push_back("DROP FUNCTION IF EXISTS " + table + "__immutable_fn()");
  }
  for (const char* index : {
           "bundles___collection_id___idx",
           "collections___group_id___idx",
           "dependencies___table_function_id___idx",
           "dependencies_current___function_id___idx",
           "dependencies_current___table_function_id___idx",
           "executions___collection_id___idx",
           "executions___function_version_id___idx",
           "executions___triggered_by_id___idx",
           "executions___triggered_on___idx",
           "function_patches___parent_function_version_id__defined_on__id___idx",
           "function_runs___collection_id___idx",
           "function_runs___ended_on___idx",
           "function_runs___execution_id__status___idx",
           "function_runs___function_version_id___idx",
           "function_runs___status___idx",
           "function_runs___transaction_id__status___idx",
           "functions___collection_id___idx",
           "functions_current___collection_id___idx",
           "functions_current___status___idx",
           "lfr_pointers_current___physical_function_run_id___idx",
           "logical_function_run_inputs___requirement_logical_table_data_version_id___idx",
           "logical_function_run_pointers___function_run_id___idx",
           "logical_function_run_pointers___logical_function_run_id__set_on__id___idx",
           "logical_function_runs___group_id__collection_id___idx",
           "logical_function_runs___status___idx",
           "logical_table_data_version_pointers___logical_table_data_version_id__set_on__id___idx",
           "logical_table_data_version_pointers___table_data_version_id___idx",
           "logical_table_data_versions___execution_id___idx",
           "logical_table_data_versions___group_id___idx",
           "logical_table_data_versions___producer_logical_function_run_id___idx",
           "logical_table_data_versions___transaction_id___idx",
           "permissions___entity_id___idx",
           "physical_table_data_versions___collection_id___idx",
           "physical_table_data_versions___execution_id___idx",
           "physical_table_data_versions___physical_function_run_id___idx",
           "physical_table_data_versions___table_id___has_data___idx",
           "physical_table_data_versions___table_id__triggered_on__id___idx",
           "tables___status___idx",
           "tables_current___collection_id___idx",
           "tables_current___function_id___idx",
           "tables_current___status___idx",
           "transactions___collection_id___idx",
           "transactions___group_id__collection_id___idx",
           "triggers___collection_id___idx",
           "triggers___trigger_by_function_id___idx",
           "triggers_current___collection_id___idx",
           "triggers_current___function_id___idx",
           "triggers_current___trigger_by_function_id___idx",
           "users___enabled___idx",
           "users___system___idx",
       }) {
    retired.push_back("DROP INDEX IF EXISTS " + q(index));
  }
  return retired;
}

TEST(V3ToV4, Up) {
  const Texts up = folded(delta().up);
  const Texts expected = expected_up();
  ASSERT_EQ(up.size(), expected.size());
  for (std::size_t i = 0; i < up.size(); ++i) EXPECT_EQ(up[i], expected[i]) << "text " << i + 1;
}

TEST(V3ToV4, RetiresViewsTriggersFunctionsAndFiftyIndexes) { EXPECT_EQ(delta().retired, expected_retired()); }

}  // namespace
}  // namespace schema::deltas::v3_to_v4
