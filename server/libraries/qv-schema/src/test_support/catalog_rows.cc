#include "test_support/catalog_rows.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>

namespace schema::test_support {
namespace {

const std::string kSystem = std::string("'") + kSystemUserId + "'";
const std::string kValidFrom = "'2024-01-01 00:00:00+00'";

// Creation and modification columns in the order most tables declare them.
Values authored(Values before, const Values& after) {
  const Values middle = {{"created_on", "CURRENT_TIMESTAMP"},
                         {"created_by_id", kSystem},
                         {"modified_on", "CURRENT_TIMESTAMP"},
                         {"modified_by_id", kSystem}};
  before.insert(before.end(), middle.begin(), middle.end());
  before.insert(before.end(), after.begin(), after.end());
  return before;
}

const std::map<std::string, Values, std::less<>>& typical_rows() {
  static const std::map<std::string, Values, std::less<>> rows = {
      {"users", authored({{"id", "'u1'"}, {"name", "'user1'"}, {"full_name", "'User One'"}, {"email", "NULL"}},
                         {{"password_hash", "'!'"},
                          {"password_set_on", "CURRENT_TIMESTAMP"},
                          {"password_must_change", "false"},
                          {"enabled", "true"},
                          {"system", "false"}})},
      {"service_tokens",
       {{"id", "'st1'"},
        {"user_id", std::string("'") + kAdministratorId + "'"},
        {"slot", "1"},
        {"digest", "'digest1'"},
        {"hint", "'dig'"},
        {"comment", "NULL"},
        {"created_on", "CURRENT_TIMESTAMP"},
        {"expires_on", "CURRENT_TIMESTAMP + interval '1 day'"},
        {"last_used_on", "NULL"},
        {"scope", "'all'"},
        {"system", "false"}}},
      {"sessions",
       {{"access_token_id", "'a1'"},
        {"refresh_token_id", "'r1'"},
        {"user_id", std::string("'") + kAdministratorId + "'"},
        {"created_on", "CURRENT_TIMESTAMP"},
        {"expires_on", "CURRENT_TIMESTAMP + interval '1 hour'"},
        {"status_change_on", "CURRENT_TIMESTAMP"},
        {"status", "'A'"}}},
      {"roles", authored({{"id", "'r1'"}, {"name", "'role1'"}, {"description", "''"}},
                         {{"kind", "'custom'"}, {"project_id", "NULL"}, {"fixed", "false"}})},
      {"users_roles",
       {{"id", "'ur1'"},
        {"user_id", std::string("'") + kAdministratorId + "'"},
        {"role_id", "'r1'"},
        {"added_on", "CURRENT_TIMESTAMP"},
        {"added_by_id", kSystem},
        {"fixed", "false"}}},
      {"permissions",
       {{"id", "'pm1'"},
        {"role_id", "'r1'"},
        {"permission_type", "'manage_project'"},
        {"entity_type", "'project'"},
        {"entity_id", "'p1'"},
        {"granted_by_id", kSystem},
        {"granted_on", "CURRENT_TIMESTAMP"},
        {"fixed", "false"}}},
      {"projects", authored({{"id", "'p1'"}, {"name", "'project1'"}, {"description", "''"}, {"base_path", "'/p1'"}},
                            {{"name_when_deleted", "NULL"}})},
      {"groups", authored({{"id", "'g1'"}, {"project_id", "'p1'"}, {"name", "'group1'"}, {"description", "''"}},
                          {{"system", "false"}, {"kind", "'user'"}})},
      {"connections", authored({{"id", "'k1'"}, {"project_id", "'p1'"}, {"kind", "'local'"}}, {})},
      {"collections",
       authored({{"id", "'c1'"}, {"project_id", "'p1'"}, {"name", "'collection1'"}, {"description", "''"}},
                {{"name_when_deleted", "NULL"},
                 {"group_id", "'g1'"},
                 {"base_path", "NULL"},
                 {"collection_type", "'user'"},
                 {"connection_id", "NULL"}})},
      {"bundles",
       {{"id", "'b1'"},
        {"project_id", "'p1'"},
        {"collection_id", "'c1'"},
        {"hash", "'h1'"},
        {"base_path", "'/b1'"},
        {"status", "'A'"},
        {"created_on", "CURRENT_TIMESTAMP"},
        {"created_by_id", kSystem}}},
      {"functions",
       {{"id", "1"},
        {"project_id", "'p1'"},
        {"collection_id", "'c1'"},
        {"name", "'function1'"},
        {"description", "''"},
        {"decorator", "'transformer'"},
        {"runtime_values", "'{}'"},
        {"function_id", "'f1'"},
        {"base_path", "NULL"},
        {"stage_id", "'s1'"},
        {"stage_base_path", "'/s1'"},
        {"storage_version", "'v2'"},
        {"bundle_id", "'b1'"},
        {"snippet", "''"},
        {"valid_from", kValidFrom},
        {"defined_by_id", kSystem},
        {"status", "'A'"},
        {"connector", "NULL"},
        {"connection", "NULL"},
        {"enabled", "true"},
        {"valid_to", "'infinity'"},
        {"function_type", "'T'"},
        {"parent_function_id", "NULL"}}},
      {"function_patches",
       {{"id", "1"},
        {"project_id", "'p1'"},
        {"parent_function_version_id", "1"},
        {"function_id", "'f1'"},
        {"collection_id", "'c1'"},
        {"snippet", "''"},
        {"bundle_id", "'b1'"},
        {"runtime_values", "'{}'"},
        {"description", "''"},
        {"valid_from", kValidFrom},
        {"defined_by_id", kSystem},
        {"status", "'A'"},
        {"valid_to", "'infinity'"}}},
      {"tables",
       {{"id", "'t1'"},
        {"project_id", "'p1'"},
        {"collection_id", "'c1'"},
        {"table_id", "'t1'"},
        {"name", "'table1'"},
        {"function_id", "'f1'"},
        {"function_version_id", "1"},
        {"function_param_pos", "0"},
        {"private", "false"},
        {"partitioned", "NULL"},
        {"valid_from", kValidFrom},
        {"defined_by_id", kSystem},
        {"status", "'A'"},
        {"table_type", "'R'"},
        {"valid_to", "'infinity'"},
        {"parent_table_id", "NULL"}}},
      {"dependencies",
       {{"id", "'d1'"},
        {"project_id", "'p1'"},
        {"collection_id", "'c1'"},
        {"dependency_id", "'d1'"},
        {"function_id", "'f1'"},
        {"table_collection_id", "'c1'"},
        {"table_function_id", "'f1'"},
        {"table_id", "'t1'"},
        {"table_versions", "'HEAD'"},
        {"dep_pos", "0"},
        {"valid_from", kValidFrom},
        {"defined_by_id", kSystem},
        {"system", "false"},
        {"valid_to", "'infinity'"}}},
      {"triggers",
       {{"id", "'tr1'"},
        {"project_id", "'p1'"},
        {"collection_id", "'c1'"},
        {"trigger_id", "'tr1'"},
        {"function_id", "'f1'"},
        {"trigger_by_collection_id", "'c1'"},
        {"trigger_by_function_id", "'f0'"},
        {"trigger_by_table_id", "'t0'"},
        {"status", "'A'"},
        {"valid_from", kValidFrom},
        {"defined_by_id", kSystem},
        {"system", "false"},
        {"valid_to", "'infinity'"}}},
  };
  return rows;
}

[[noreturn]] void test_fault(const std::string& message) {
  std::cerr << "insert_row: " << message << "\n";
  std::abort();
}

}  // namespace

std::string insert_row(std::string_view table, const Values& values) {
  const auto typical = typical_rows().find(table);
  if (typical == typical_rows().end()) test_fault("no typical row of " + std::string(table));
  Values row = typical->second;
  for (const auto& [column, value] : values) {
    const auto cell = std::find_if(row.begin(), row.end(), [&](const auto& c) { return c.first == column; });
    if (cell == row.end()) test_fault("no column " + column + " in " + std::string(table));
    cell->second = value;
  }
  std::string columns;
  std::string expressions;
  for (const auto& [column, value] : row) {
    if (!columns.empty()) {
      columns += ", ";
      expressions += ", ";
    }
    columns += "\"" + column + "\"";
    expressions += value;
  }
  return "INSERT INTO \"" + std::string(table) + "\" (" + columns + ") VALUES (" + expressions + ")";
}

std::vector<std::string> collection_chain() {
  return {insert_row("projects"), insert_row("groups"), insert_row("collections")};
}

}  // namespace schema::test_support
