#include "schema/deltas/v5_to_v7.h"

#include <gtest/gtest.h>

#include "schema/testing/folded.h"

namespace schema::deltas {
namespace {

using Texts = std::vector<std::string>;
using testing::folded;

TEST(V5ToV6, StartColumnsBecomeValidFromWithTheirNotNullConstraints) {
  Texts expected;
  const std::pair<std::string, std::string> renames[] = {
      {"functions", "defined_on"},
      {"function_patches", "defined_on"},
      {"tables", "defined_on"},
      {"dependencies", "defined_on"},
      {"triggers", "defined_on"},
      {"physical_function_runs", "triggered_on"},
      {"physical_table_data_versions", "triggered_on"},
  };
  for (const auto& [t, column] : renames) {
    expected.push_back("ALTER TABLE \"" + t + "\" RENAME COLUMN \"" + column + "\" TO \"valid_from\"");
    // The constraint rename runs only where PostgreSQL has named NOT NULL
    // constraints (18 and later).
    expected.push_back("DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_constraint WHERE conrelid = '\"" + t +
                       "\"'::regclass AND conname = '" + t + "_" + column + "_not_null') THEN ALTER TABLE \"" + t +
                       "\" RENAME CONSTRAINT \"" + t + "_" + column + "_not_null\" TO \"" + t +
                       "_valid_from_not_null\"; END IF; END $$");
  }
  expected.push_back("UPDATE quorvale_system SET value = '6' WHERE name = 'db_version'");
  const source::Delta delta = v5_to_v6::delta();
  EXPECT_EQ(folded(delta.up), expected);
  EXPECT_EQ(delta.retired,
            (Texts{
                R"sql(DROP INDEX IF EXISTS "dependencies___dependency_id__defined_on__id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "function_patches___function_id__defined_on___idx")sql",
                R"sql(DROP INDEX IF EXISTS "function_patches___parent_fv_id__defined_on__id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "functions___function_id__defined_on__id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "pfr___logical_function_run_id__triggered_on__id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "pfr___status__project_id__triggered_on___idx")sql",
                R"sql(DROP INDEX IF EXISTS "ptdv___logical_table_data_version_id__triggered_on__id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "tables___table_id__defined_on__id___idx")sql",
                R"sql(DROP INDEX IF EXISTS "triggers___trigger_id__defined_on__id___idx")sql",
            }));
}

TEST(V6ToV7, OnlyTheVersionUpdate) {
  EXPECT_EQ(v6_to_v7::delta(),
            (source::Delta{{"UPDATE quorvale_system SET value = '7' WHERE name = 'db_version'"}, {}}));
}

}  // namespace
}  // namespace schema::deltas
