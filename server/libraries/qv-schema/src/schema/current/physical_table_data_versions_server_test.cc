// Physical table data versions on a real server: the close trigger with
// pending versions and their settling, the unique indexes, the RESTRICT keys
// and the two stacked views.

#include <gtest/gtest.h>

#include <string>

#include "test_support/run_rows.h"

namespace schema::current::physical_table_data_versions {
namespace {

using test_support::at;
using test_support::RunRowsFixture;
using test_support::Values;

constexpr const char* kVersions = "physical_table_data_versions";

// A logical run 400 with ended attempts 601 to 605 and the logical table data
// version 500 that it produces.
class PhysicalTableDataVersionsServerTest : public RunRowsFixture {
 protected:
  void SetUp() override {
    RunRowsFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    add("logical_function_runs");
    for (int attempt = 601; attempt <= 605; ++attempt) {
      add("physical_function_runs", {{"id", std::to_string(attempt)},
                                     {"valid_from", at(std::to_string(attempt - 591) + ":00")},
                                     {"status", "'F'"}});
    }
    add("logical_table_data_versions");
  }

  // The version of attempt `id` - 100, from `valid_from` to `valid_to`.
  static Values version(int id, const char* valid_from, const char* valid_to = "infinity") {
    return {{"id", std::to_string(id)},
            {"physical_function_run_id", std::to_string(id - 100)},
            {"valid_from", at(valid_from)},
            {"valid_to", std::string(valid_to) == "infinity" ? "'infinity'" : at(valid_to)}};
  }
};

TEST_F(PhysicalTableDataVersionsServerTest, PendingVersionsJoinTheChainWhenSettled) {
  add(kVersions, version(701, "10:00"));
  // Pending: the close trigger does not fire, the open version stays open.
  add(kVersions, version(703, "12:00", "12:00"));
  EXPECT_EQ(versions(kVersions, "true"), "701 10:00-infinity, 703 12:00-12:00");
  // The empty interval of the pending version does not end a new version.
  add(kVersions, version(702, "11:00"));
  EXPECT_EQ(versions(kVersions, "true"), "701 10:00-11:00, 702 11:00-infinity, 703 12:00-12:00");
  // Settling moves the start forward and chains the version in.
  ASSERT_EQ(outcome("UPDATE physical_table_data_versions SET valid_from = " + at("13:00") + " WHERE id = 703"), "ok");
  EXPECT_EQ(versions(kVersions, "true"), "701 10:00-11:00, 702 11:00-13:00, 703 13:00-infinity");
}

TEST_F(PhysicalTableDataVersionsServerTest, UniqueIndexes) {
  add(kVersions, version(701, "10:00"));
  add(kVersions, version(702, "11:00"));
  Values same_run_and_table = version(703, "12:00");
  same_run_and_table.push_back({"physical_function_run_id", "602"});
  EXPECT_EQ(
      insert(kVersions, same_run_and_table),
      "23505 duplicate key value violates unique constraint \"ptdv___physical_function_run_id__table_id___uidx\"");
  EXPECT_EQ(outcome("UPDATE physical_table_data_versions SET valid_to = 'infinity' WHERE id = 701"),
            "23505 duplicate key value violates unique constraint "
            "\"ptdv___logical_table_data_version_id___current_uidx\"");
}

TEST_F(PhysicalTableDataVersionsServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by one version and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("functions", {{"id", "101"}, {"function_id", "'F2'"}, {"name", "'function two'"}});
  add("executions", {{"id", "201"}});
  add("logical_table_data_versions", {{"id", "501"}});
  add(kVersions, version(701, "10:00"));
  Values other_rows = version(702, "10:00");
  other_rows.insert(other_rows.end(), {{"logical_table_data_version_id", "501"},
                                       {"collection_id", "'C2'"},
                                       {"function_version_id", "101"},
                                       {"execution_id", "201"}});
  add(kVersions, other_rows);

  expect_restricted("physical_function_runs", "601", "609", kVersions,
                    "physical_table_data_versions_physical_function_run_id_fkey");
  expect_restricted("logical_table_data_versions", "501", "509", kVersions,
                    "physical_table_data_versions_logical_table_data_version_id_fkey");
  expect_restricted("collections", "'C2'", "'C9'", kVersions, "physical_table_data_versions_collection_id_fkey");
  expect_restricted("functions", "101", "109", kVersions, "physical_table_data_versions_function_version_id_fkey");
  expect_restricted("executions", "201", "209", kVersions, "physical_table_data_versions_execution_id_fkey");
}

TEST_F(PhysicalTableDataVersionsServerTest, ViewsShowTheWritingAttemptAndNames) {
  ASSERT_EQ(outcome("UPDATE physical_function_runs SET started_on = " + at("11:01") + ", ended_on = " + at("11:02") +
                    ", triggered_by_id = 'U404' WHERE id = 602"),
            "ok");
  add(kVersions, version(701, "10:00"));
  add(kVersions, version(702, "11:00"));

  struct Case {
    const char* version;
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"702", "status", "F"},
      {"702", "started_on", "2024-01-01 11:01:00+00"},
      {"702", "ended_on", "2024-01-01 11:02:00+00"},
      {"702", "storage_version", "v1"},
      {"702", "collection", "collection one"},
      {"702", "collection_deleted", "f"},
      {"702", "function", "function one"},
      {"702", "created_by", "[U404]"},
      {"701", "created_by", "system"},
      {"701", "started_on", "NULL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " " + c.column);
    EXPECT_EQ(value(std::string("SELECT ") + c.column +
                    " FROM physical_table_data_versions__with_names WHERE id = " + c.version),
              c.value);
  }
}

}  // namespace
}  // namespace schema::current::physical_table_data_versions
