#include "schema/sql/rls.h"

#include <array>
#include <string_view>

#include "sqlbuilder/template.h"

namespace schema::sql::rls {
namespace {

constexpr std::array<std::string_view, 19> kProjectScopedTables = {
    "groups",
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
    "metrics_facts",
};

constexpr std::string_view kProjectSetting = "app.project_id";
constexpr std::string_view kAcrossProjectsRole = "qv_across_projects";

}  // namespace

std::string isolation_policy(std::string_view table) {
  // An unset or empty setting gives NULL, which matches no row.
  const std::string condition =
      sqlbuilder::format_template("project_id = current_setting('{}', true)", {std::string(kProjectSetting)});
  return sqlbuilder::format_template("CREATE POLICY project_isolation ON {} USING ({}) WITH CHECK ({1})",
                                     {std::string(table), condition});
}

std::string across_projects_policy(std::string_view table) {
  return sqlbuilder::format_template("CREATE POLICY across_projects ON {} TO {} USING (true) WITH CHECK (true)",
                                     {std::string(table), std::string(kAcrossProjectsRole)});
}

std::vector<std::string> table_rls(std::string_view table_name) {
  using sqlbuilder::format_template;
  const std::string table(table_name);
  return {
      format_template("ALTER TABLE {} ALTER COLUMN project_id SET DEFAULT NULLIF(current_setting('{}', true), '')",
                      {table, std::string(kProjectSetting)}),
      format_template("ALTER TABLE {} ENABLE ROW LEVEL SECURITY", {table}),
      format_template("ALTER TABLE {} FORCE ROW LEVEL SECURITY", {table}),
      isolation_policy(table),
      across_projects_policy(table),
  };
}

std::vector<std::string> rls() {
  std::vector<std::string> statements;
  statements.reserve(kProjectScopedTables.size() * 5);
  for (const std::string_view table : kProjectScopedTables) {
    for (std::string& statement : table_rls(table)) statements.push_back(std::move(statement));
  }
  return statements;
}

}  // namespace schema::sql::rls
