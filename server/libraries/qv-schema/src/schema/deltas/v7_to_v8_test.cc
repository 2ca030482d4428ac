#include "schema/deltas/v7_to_v8.h"

#include <gtest/gtest.h>

#include "schema/testing/folded.h"

namespace schema::deltas::v7_to_v8 {
namespace {

using Texts = std::vector<std::string>;
using testing::folded;

std::string to_bigint(const std::string& column) {
  return "ALTER COLUMN \"" + column + "\" TYPE bigint USING NULLIF(replace(regexp_replace(\"" + column +
         "\", '^[^0-9]+', ''), '-', ''), '')::bigint";
}

TEST(V7ToV8, SavesDropsAndRestoresTheForeignKeysAroundTheConversions) {
  const std::string tables =
      "'executions', 'function_patches', 'functions', 'logical_function_run_inputs', 'logical_function_runs', "
      "'logical_table_data_versions', 'physical_function_runs', 'physical_table_data_versions', "
      "'table_partitions', 'tables', 'transactions', 'workers'";
  Texts expected = {
      "CREATE TEMP TABLE qv_v8_foreign_keys AS SELECT cls.relname AS table_name, con.conname AS constraint_name, "
      "pg_get_constraintdef(con.oid) AS definition FROM pg_constraint con JOIN pg_class cls ON cls.oid = "
      "con.conrelid JOIN pg_class ref ON ref.oid = con.confrelid JOIN pg_namespace ns ON ns.oid = con.connamespace "
      "AND ns.nspname = current_schema() WHERE con.contype = 'f' AND (cls.relname IN (" +
          tables + ") OR ref.relname IN (" + tables + "))",
      "DO $$ DECLARE fk record; BEGIN FOR fk IN SELECT * FROM qv_v8_foreign_keys LOOP EXECUTE format('ALTER TABLE "
      "%I DROP CONSTRAINT %I', fk.table_name, fk.constraint_name); END LOOP; END $$",
      R"sql(ALTER TABLE "logical_function_runs" ALTER COLUMN "function_version_id" DROP DEFAULT)sql",
  };
  const std::pair<std::string, std::vector<std::string>> conversions[] = {
      {"executions", {"id", "function_version_id"}},
      {"function_patches", {"id", "parent_function_version_id"}},
      {"functions", {"id"}},
      {"logical_function_run_inputs",
       {"execution_id", "transaction_id", "logical_function_run_id", "requirement_logical_table_data_version_id"}},
      {"logical_function_runs", {"id", "execution_id", "transaction_id"}},
      {"logical_table_data_versions", {"id", "execution_id", "transaction_id", "producer_logical_function_run_id"}},
      {"physical_function_runs",
       {"id", "function_version_id", "function_version_patch_id", "execution_id", "transaction_id",
        "logical_function_run_id"}},
      {"physical_table_data_versions",
       {"id", "function_version_id", "function_version_patch_id", "execution_id", "transaction_id",
        "physical_function_run_id", "logical_table_data_version_id", "with_data_table_data_version_id"}},
      {"table_partitions", {"function_version_id", "table_data_version_id"}},
      {"tables", {"function_version_id"}},
      {"transactions", {"id", "execution_id"}},
      {"workers", {"id", "execution_id", "transaction_id", "function_version_id", "physical_function_run_id"}},
  };
  for (const auto& [table, columns] : conversions) {
    std::string text = "ALTER TABLE \"" + table + "\" ";
    for (std::size_t i = 0; i < columns.size(); ++i) text += (i > 0 ? ", " : "") + to_bigint(columns[i]);
    // Only the runs' function version gets the placeholder for a missing one.
    if (table == "logical_function_runs") {
      text +=
          ", ALTER COLUMN \"function_version_id\" TYPE bigint USING COALESCE(NULLIF(replace(regexp_replace("
          "\"function_version_id\", '^[^0-9]+', ''), '-', ''), '')::bigint, 197001010000000001)";
    }
    expected.push_back(text);
  }
  expected.push_back(
      R"sql(ALTER TABLE "logical_function_runs" ALTER COLUMN "function_version_id" SET DEFAULT 197001010000000001)sql");
  expected.push_back(
      "DO $$ DECLARE fk record; BEGIN FOR fk IN SELECT * FROM qv_v8_foreign_keys LOOP EXECUTE format('ALTER TABLE "
      "%I ADD CONSTRAINT %I %s', fk.table_name, fk.constraint_name, fk.definition); END LOOP; END $$");
  expected.push_back("DROP TABLE qv_v8_foreign_keys");
  expected.push_back("UPDATE quorvale_system SET value = '8' WHERE name = 'db_version'");

  const source::Delta step = delta();
  EXPECT_EQ(folded(step.up), expected);
  EXPECT_TRUE(step.retired.empty());
}

}  // namespace
}  // namespace schema::deltas::v7_to_v8
