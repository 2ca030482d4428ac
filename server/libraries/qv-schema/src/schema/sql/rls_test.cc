#include "schema/sql/rls.h"

#include <gtest/gtest.h>

namespace schema::sql::rls {
namespace {

TEST(Rls, FiveStatementsForEachOfTheNineteenTables) {
  const std::vector<std::string> statements = rls();
  ASSERT_EQ(statements.size(), 95u);
  const std::vector<std::string> groups(statements.begin(), statements.begin() + 5);
  EXPECT_EQ(groups, (std::vector<std::string>{
                        "ALTER TABLE groups ALTER COLUMN project_id SET DEFAULT "
                        "NULLIF(current_setting('app.project_id', true), '')",
                        "ALTER TABLE groups ENABLE ROW LEVEL SECURITY",
                        "ALTER TABLE groups FORCE ROW LEVEL SECURITY",
                        "CREATE POLICY project_isolation ON groups USING (project_id = "
                        "current_setting('app.project_id', true)) WITH CHECK (project_id = "
                        "current_setting('app.project_id', true))",
                        "CREATE POLICY across_projects ON groups TO qv_across_projects USING (true) WITH CHECK (true)",
                    }));
  const std::vector<std::string> metrics_facts(statements.end() - 5, statements.end());
  EXPECT_EQ(metrics_facts, (std::vector<std::string>{
                               "ALTER TABLE metrics_facts ALTER COLUMN project_id SET DEFAULT "
                               "NULLIF(current_setting('app.project_id', true), '')",
                               "ALTER TABLE metrics_facts ENABLE ROW LEVEL SECURITY",
                               "ALTER TABLE metrics_facts FORCE ROW LEVEL SECURITY",
                               "CREATE POLICY project_isolation ON metrics_facts USING (project_id = "
                               "current_setting('app.project_id', true)) WITH CHECK (project_id = "
                               "current_setting('app.project_id', true))",
                               "CREATE POLICY across_projects ON metrics_facts TO qv_across_projects USING (true) "
                               "WITH CHECK (true)",
                           }));
}

TEST(Rls, TablesInOrder) {
  const std::vector<std::string> statements = rls();
  const std::vector<std::string> expected = {"groups",
                                             "connections",
                                             "collections",
                                             "bundles",
                                             "functions",
                                             "function_patches",
                                             "tables",
                                             "dependencies",
                                             "triggers",
                                             "executions",
                                             "transactions",
                                             "physical_function_runs",
                                             "physical_table_data_versions",
                                             "table_partitions",
                                             "workers",
                                             "logical_function_runs",
                                             "logical_table_data_versions",
                                             "logical_function_run_inputs",
                                             "metrics_facts"};
  ASSERT_EQ(statements.size(), expected.size() * 5);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(statements[i * 5 + 1], "ALTER TABLE " + expected[i] + " ENABLE ROW LEVEL SECURITY");
  }
}

}  // namespace
}  // namespace schema::sql::rls
