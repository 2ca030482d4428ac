#pragma once
// Name lists and statement patterns that several version steps share.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace schema::deltas::shared {

// The project-scoped tables of row-level security before version 10.
inline constexpr std::array<std::string_view, 18> kProjectScopedTables = {
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
};

// A table that keeps one row per version of an entity.
struct VersionedTable {
  std::string_view table;
  std::string_view key;    // the entity's key column
  std::string_view start;  // where a version starts, before version 6
};

inline constexpr std::array<VersionedTable, 5> kVersionedTables = {{
    {"functions", "function_id", "defined_on"},
    {"function_patches", "parent_function_version_id", "defined_on"},
    {"tables", "table_id", "defined_on"},
    {"dependencies", "dependency_id", "defined_on"},
    {"triggers", "trigger_id", "defined_on"},
}};

// DROP POLICY project_isolation ON <table>
std::string drop_isolation_policy(std::string_view table);
// DROP POLICY across_projects ON <table>
std::string drop_across_projects_policy(std::string_view table);

// DROP INDEX IF EXISTS "<name>" for each name, in order.
std::vector<std::string> drop_indexes(const std::vector<std::string_view>& names);

// Brackets of long data-moving statements; SET LOCAL lasts to the end of the
// upgrade's transaction unless reset.
std::string set_work_mem();    // SET LOCAL work_mem = '64MB'
std::string reset_work_mem();  // RESET work_mem

// Appends `more` to `texts`.
void append(std::vector<std::string>& texts, std::vector<std::string> more);

}  // namespace schema::deltas::shared
