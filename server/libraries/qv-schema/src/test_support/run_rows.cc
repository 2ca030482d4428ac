#include "test_support/run_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "test_support/database_fixture.h"

namespace schema::test_support {
namespace {

const std::string kSystem = "'00000000000000000000000000'";
const std::string kMorning = "'2024-01-01 09:00+00'";

// Who made a row of the entity tables, and when.
Values made_by_system() {
  return {{"created_on", kMorning}, {"created_by_id", kSystem}, {"modified_on", kMorning}, {"modified_by_id", kSystem}};
}

Values joined(Values first, const Values& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// Each table's usual row; the rows refer to each other by these ids.
const std::map<std::string, Values, std::less<>>& usual_values() {
  static const std::map<std::string, Values, std::less<>> values = {
      {"projects", joined({{"id", "'P1'"}, {"name", "'project one'"}, {"description", "''"}, {"base_path", "'/p1'"}},
                          made_by_system())},
      {"groups", joined({{"id", "'G1'"}, {"project_id", "'P1'"}, {"name", "'group one'"}, {"description", "''"}},
                        joined(made_by_system(), {{"system", "false"}, {"kind", "'user'"}}))},
      {"connections", joined({{"id", "'N1'"}, {"project_id", "'P1'"}, {"kind", "'bucket'"}}, made_by_system())},
      {"collections",
       joined({{"id", "'C1'"}, {"project_id", "'P1'"}, {"name", "'collection one'"}, {"description", "''"}},
              joined(made_by_system(), {{"group_id", "'G1'"}, {"collection_type", "'S'"}}))},
      {"functions",
       {{"id", "100"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"name", "'function one'"},
        {"description", "''"}, {"decorator", "''"}, {"runtime_values", "''"}, {"function_id", "'F1'"},
        {"stage_id", "''"}, {"stage_base_path", "''"}, {"storage_version", "'v1'"}, {"bundle_id", "'B1'"},
        {"snippet", "''"}, {"valid_from", kMorning}, {"defined_by_id", kSystem}, {"status", "'A'"},
        {"valid_to", "'infinity'"}, {"function_type", "'F'"}}},
      {"function_patches",
       {{"id", "900"}, {"project_id", "'P1'"}, {"parent_function_version_id", "100"}, {"function_id", "'F1'"},
        {"collection_id", "'C1'"}, {"snippet", "''"}, {"bundle_id", "'B1'"}, {"runtime_values", "''"},
        {"description", "''"}, {"valid_from", kMorning}, {"defined_by_id", kSystem}, {"status", "'A'"},
        {"valid_to", "'infinity'"}}},
      {"tables",
       {{"id", "'TV1'"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"table_id", "'T1'"},
        {"name", "'table one'"}, {"function_version_id", "100"}, {"private", "false"}, {"valid_from", kMorning},
        {"defined_by_id", kSystem}, {"status", "'A'"}, {"valid_to", "'infinity'"}}},
      {"executions",
       {{"id", "200"}, {"project_id", "'P1'"}, {"name", "'execution one'"}, {"collection_id", "'C1'"},
        {"function_version_id", "100"}, {"triggered_on", kMorning}, {"triggered_by_id", kSystem}}},
      {"transactions",
       {{"id", "300"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"execution_id", "200"},
        {"transaction_by", "'F'"}, {"transaction_key", "'K'"}, {"triggered_on", kMorning},
        {"triggered_by_id", kSystem}, {"group_id", "'G1'"}}},
      {"logical_function_runs",
       {{"id", "400"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"execution_id", "200"},
        {"transaction_id", "300"}, {"function_id", "'F1'"}, {"function_version_id", "100"}, {"trigger", "'M'"},
        {"triggered_on", kMorning}, {"triggered_by_id", kSystem}, {"status", "'S'"}, {"group_id", "'G1'"}}},
      {"logical_table_data_versions",
       {{"id", "500"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"execution_id", "200"},
        {"transaction_id", "300"}, {"table_id", "'T1'"}, {"producer_logical_function_run_id", "400"},
        {"function_param_pos", "0"}, {"private", "false"}, {"triggered_on", kMorning},
        {"triggered_by_id", kSystem}, {"group_id", "'G1'"}}},
      {"physical_function_runs",
       {{"id", "600"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"function_version_id", "100"},
        {"execution_id", "200"}, {"transaction_id", "300"}, {"valid_from", kMorning},
        {"triggered_by_id", kSystem}, {"trigger", "'M'"}, {"function_id", "'F1'"}, {"status", "'RR'"},
        {"base_path", "'/runs'"}, {"logical_function_run_id", "400"}, {"valid_to", "'infinity'"}}},
      {"physical_table_data_versions",
       {{"id", "700"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"table_id", "'T1'"},
        {"name", "'table one'"}, {"table_version_id", "'TV1'"}, {"function_version_id", "100"},
        {"execution_id", "200"}, {"transaction_id", "300"}, {"physical_function_run_id", "600"},
        {"function_param_pos", "0"}, {"valid_from", kMorning}, {"base_path", "'/data'"},
        {"logical_table_data_version_id", "500"}, {"valid_to", "'infinity'"}}},
      {"table_partitions",
       {{"id", "'TP1'"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"table_id", "'T1'"},
        {"table_version_id", "'TV1'"}, {"function_version_id", "100"}, {"table_data_version_id", "700"}}},
      {"workers",
       {{"id", "800"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"execution_id", "200"},
        {"transaction_id", "300"}, {"function_version_id", "100"}, {"status", "'S'"}, {"worker_type", "'CT'"},
        {"worker_enabled", "true"}}},
      {"logical_function_run_inputs",
       {{"id", "'I1'"}, {"project_id", "'P1'"}, {"collection_id", "'C1'"}, {"execution_id", "200"},
        {"transaction_id", "300"}, {"logical_function_run_id", "400"},
        {"requirement_logical_table_data_version_id", "500"}, {"requirement_version_pos", "0"}}},
      {"metrics_facts",
       {{"ts", kMorning}, {"ts_hour_ms", "1704099600000"}, {"ts_day_ms", "1704067200000"},
        {"ts_week_ms", "1704067200000"}, {"ts_month_ms", "1704067200000"}, {"project_id", "'P1'"},
        {"group_id", "'G1'"}, {"collection_id", "'C1'"}, {"execution_id", "200"}, {"transaction_id", "300"},
        {"function_id", "'F1'"}, {"function_run_id", "400"}, {"attempt_id", "600"}, {"attempt_outcome", "'D'"},
        {"run_status", "'C'"}, {"replay", "0"}, {"current", "true"}, {"run_has_inputs", "false"},
        {"run_has_outputs", "true"}, {"side", "'output'"}, {"private", "false"}, {"has_data", "true"},
        {"row_count", "10"}, {"data_bytes", "100"}, {"edge_first", "false"}, {"edge_first_group", "false"}}},
  };
  return values;
}

// The INSERT of the usual row of `table`, with `values` in place of or added
// to the usual ones.
std::string insert_text(std::string_view table, const Values& values) {
  const auto usual = usual_values().find(table);
  Values row = usual == usual_values().end() ? Values() : usual->second;
  for (const auto& [column, value] : values) {
    const auto same = std::find_if(row.begin(), row.end(), [&](const auto& entry) { return entry.first == column; });
    if (same == row.end()) {
      row.emplace_back(column, value);
    } else {
      same->second = value;
    }
  }
  std::string columns;
  std::string expressions;
  for (const auto& [column, value] : row) {
    columns += (columns.empty() ? "\"" : ", \"") + column + "\"";
    expressions += (expressions.empty() ? "" : ", ") + value;
  }
  return "INSERT INTO " + std::string(table) + " (" + columns + ") VALUES (" + expressions + ")";
}

// Deletes the row with `key` and puts it back in the same statement.
std::string delete_and_restore(std::string_view table, std::string_view key) {
  const std::string name(table);
  return "WITH gone AS (DELETE FROM " + name + " WHERE id = " + std::string(key) + " RETURNING *) INSERT INTO " +
         name + " SELECT * FROM gone";
}

std::string restrict_error(std::string_view referenced, std::string_view constraint, std::string_view referencing) {
  return "23503 update or delete on table \"" + std::string(referenced) + "\" violates foreign key constraint \"" +
         std::string(constraint) + "\" on table \"" + std::string(referencing) + "\"";
}

}  // namespace

std::string at(std::string_view time) { return "'2024-01-01 " + std::string(time) + "+00'"; }

void RunRowsFixture::SetUp() {
  InstalledSchemaFixture::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_EQ(outcome("SET TIME ZONE 'UTC'"), "ok");
  for (const char* table : {"projects", "groups", "collections", "functions", "executions", "transactions"}) {
    add(table);
  }
}

std::string RunRowsFixture::outcome(std::string_view sql) {
  const auto result = db().execute(sql);
  if (result) return "ok";
  return result.error().sqlstate + " " + result.error().message;
}

std::string RunRowsFixture::insert(std::string_view table, const Values& values) {
  return outcome(insert_text(table, values));
}

void RunRowsFixture::add(std::string_view table, const Values& values) {
  const std::string text = insert_text(table, values);
  EXPECT_EQ(outcome(text), "ok") << text;
}

void RunRowsFixture::expect_restricted(std::string_view referenced, std::string_view key, std::string_view new_key,
                                       std::string_view referencing, std::string_view constraint) {
  SCOPED_TRACE(constraint);
  const std::string refused = restrict_error(referenced, constraint, referencing);
  EXPECT_EQ(outcome(delete_and_restore(referenced, key)), refused);
  EXPECT_EQ(outcome("UPDATE " + std::string(referenced) + " SET id = " + std::string(new_key) + " WHERE id = " +
                    std::string(key)),
            refused);
}

std::string RunRowsFixture::value(std::string_view sql) { return ::test_support::query_value(db(), sql); }

std::string RunRowsFixture::versions(std::string_view table, std::string_view condition) {
  return value("SELECT string_agg(id || ' ' || to_char(valid_from, 'HH24:MI') || '-' || "
               "coalesce(to_char(valid_to, 'HH24:MI'), 'infinity'), ', ' ORDER BY valid_from, id) FROM " +
               std::string(table) + " WHERE " + std::string(condition));
}

}  // namespace schema::test_support
