// Logical table data versions on a real server: the active view, the
// optional producer, the RESTRICT keys and the view with the live physical
// version.

#include <gtest/gtest.h>

#include <string>

#include "test_support/run_rows.h"

namespace schema::current::logical_table_data_versions {
namespace {

using test_support::at;
using test_support::RunRowsFixture;

constexpr const char* kVersions = "logical_table_data_versions";

class LogicalTableDataVersionsServerTest : public RunRowsFixture {};

TEST_F(LogicalTableDataVersionsServerTest, ActiveViewLeavesOutVersionsOfSupersededRuns) {
  struct Case {
    const char* producer_status;  // none: a version without producing run
    const char* listed;
  };
  const Case cases[] = {{"X", "0"}, {"Y", "0"}, {"S", "1"}, {"C", "1"}, {"F", "1"}, {nullptr, "1"}};
  int id = 500;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.producer_status == nullptr ? "no producer" : c.producer_status);
    const std::string version = std::to_string(++id);
    if (c.producer_status == nullptr) {
      EXPECT_EQ(insert(kVersions, {{"id", version}, {"producer_logical_function_run_id", "NULL"},
                                   {"function_param_pos", "NULL"}}),
                "ok");
    } else {
      const std::string run = std::to_string(id - 100);
      add("logical_function_runs", {{"id", run}, {"function_id", "'F" + run + "'"},
                                    {"status", std::string("'") + c.producer_status + "'"}});
      add(kVersions, {{"id", version}, {"producer_logical_function_run_id", run}});
    }
    EXPECT_EQ(value("SELECT count(*) FROM logical_table_data_versions__active WHERE id = " + version), c.listed);
  }
}

TEST_F(LogicalTableDataVersionsServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by one version and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("groups", {{"id", "'G2'"}, {"name", "'group two'"}});
  add("executions", {{"id", "201"}});
  add("transactions", {{"id", "301"}});
  add("logical_function_runs");
  add(kVersions, {{"id", "501"}, {"collection_id", "'C2'"}, {"group_id", "'G2'"}, {"execution_id", "201"},
                  {"transaction_id", "301"}});

  // PostgreSQL cuts a generated constraint name to 63 characters.
  expect_restricted("logical_function_runs", "400", "409", kVersions,
                    "logical_table_data_versions_producer_logical_function_run__fkey");
  expect_restricted("collections", "'C2'", "'C9'", kVersions, "logical_table_data_versions_collection_id_fkey");
  expect_restricted("groups", "'G2'", "'G9'", kVersions, "logical_table_data_versions_group_id_fkey");
  expect_restricted("executions", "201", "209", kVersions, "logical_table_data_versions_execution_id_fkey");
  expect_restricted("transactions", "301", "309", kVersions, "logical_table_data_versions_transaction_id_fkey");
}

// The columns that come from the live physical version and its attempt
// (7 to 21, 23 to 26).
constexpr const char* kPhysicalColumns =
    "physical_table_data_version_id, name, table_version_id, function_version_id, function_version_patch_id, "
    "has_data, schema_changed, column_count, row_count, data_bytes, schema_hash, with_data_table_data_version_id, "
    "physical_function_run_id, started_on, ended_on, physical_status, function, storage_version, parent_table_id";

TEST_F(LogicalTableDataVersionsServerTest, ViewLeavesPhysicalColumnsEmptyWithoutALiveVersion) {
  add("logical_function_runs", {{"status", "'R'"}});
  add("physical_function_runs", {{"status", "'R'"}, {"started_on", at("09:01")}});
  add(kVersions, {{"id", "501"}});
  add(kVersions, {{"id", "502"}});
  // Version 502 has a pending physical version only.
  add("physical_table_data_versions",
      {{"logical_table_data_version_id", "502"}, {"valid_from", at("10:00")}, {"valid_to", at("10:00")}});

  for (const char* version : {"501", "502"}) {
    SCOPED_TRACE(version);
    EXPECT_EQ(value(std::string("SELECT num_nonnulls(") + kPhysicalColumns +
                    ") FROM table_data_versions__with_names WHERE id = " + version),
              "0");
    EXPECT_EQ(value(std::string("SELECT status FROM table_data_versions__with_names WHERE id = ") + version), "R");
  }
}

// The producing run names function version 100; the live physical version
// was written by function version 101 into table version TV2.
TEST_F(LogicalTableDataVersionsServerTest, ViewNamesTheLivePhysicalVersion) {
  add("functions", {{"id", "101"}, {"function_id", "'F2'"}, {"name", "'function two'"}, {"storage_version", "'v2'"}});
  add("tables", {{"id", "'TV2'"}, {"function_version_id", "101"}, {"parent_table_id", "'T0'"}});
  add("logical_function_runs", {{"status", "'D'"}});
  add("physical_function_runs", {{"id", "601"}, {"valid_from", at("10:00")}, {"status", "'F'"}});
  add("physical_function_runs", {{"id", "602"}, {"valid_from", at("11:00")}, {"status", "'D'"},
                                 {"started_on", at("11:01")}, {"ended_on", at("11:02")}});
  add(kVersions, {{"triggered_by_id", "'U404'"}});
  add("physical_table_data_versions",
      {{"id", "701"}, {"physical_function_run_id", "601"}, {"valid_from", at("10:00")}});
  add("physical_table_data_versions",
      {{"id", "702"}, {"physical_function_run_id", "602"}, {"valid_from", at("11:00")}, {"name", "'table two'"},
       {"function_version_id", "101"}, {"table_version_id", "'TV2'"}, {"row_count", "42"}});

  struct Case {
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"physical_table_data_version_id", "702"},
      {"name", "table two"},
      {"table_version_id", "TV2"},
      {"function_version_id", "101"},
      {"row_count", "42"},
      {"physical_function_run_id", "602"},
      {"started_on", "2024-01-01 11:01:00+00"},
      {"ended_on", "2024-01-01 11:02:00+00"},
      {"status", "D"},
      {"physical_status", "D"},
      {"function", "function two"},
      {"storage_version", "v2"},
      {"parent_table_id", "T0"},
      {"collection", "collection one"},
      {"collection_deleted", "f"},
      {"execution", "execution one"},
      {"triggered_by", "[U404]"},
      {"\"group\"", "group one"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(value(std::string("SELECT ") + c.column + " FROM table_data_versions__with_names WHERE id = 500"),
              c.value)
        << c.column;
  }
}

}  // namespace
}  // namespace schema::current::logical_table_data_versions
