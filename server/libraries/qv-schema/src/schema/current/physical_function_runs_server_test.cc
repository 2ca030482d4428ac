// Physical function runs on a real server: the open-after-end guard, the
// close trigger, the status transitions, the one open version per logical
// run, the default, the RESTRICT keys and the view.

#include <gtest/gtest.h>

#include <string>

#include "test_support/run_rows.h"

namespace schema::current::physical_function_runs {
namespace {

using test_support::at;
using test_support::RunRowsFixture;
using test_support::Values;

constexpr const char* kAttempts = "physical_function_runs";

class PhysicalFunctionRunsServerTest : public RunRowsFixture {
 protected:
  // A logical run of its own function, for the attempts of one case.
  void add_logical_run(int id) {
    add("logical_function_runs", {{"id", std::to_string(id)}, {"function_id", "'F" + std::to_string(id) + "'"}});
  }
  Values attempt(int id, int logical_run, const char* valid_from, const char* status) {
    return {{"id", std::to_string(id)},
            {"logical_function_run_id", std::to_string(logical_run)},
            {"valid_from", at(valid_from)},
            {"status", std::string("'") + status + "'"}};
  }
};

TEST_F(PhysicalFunctionRunsServerTest, NewVersionWaitsUntilTheOpenOneHasEnded) {
  struct Case {
    const char* open_status;
    const char* outcome;
    const char* versions;
  };
  const Case cases[] = {
      {"RR", "P0001 physical_function_runs: 401 still has an open version in progress", "601 10:00-infinity"},
      {"DP", "P0001 physical_function_runs: 402 still has an open version in progress", "603 10:00-infinity"},
      {"R", "P0001 physical_function_runs: 403 still has an open version in progress", "605 10:00-infinity"},
      {"D", "ok", "607 10:00-11:00, 608 11:00-infinity"},
      {"F", "ok", "609 10:00-11:00, 610 11:00-infinity"},
  };
  int logical_run = 400;
  int id = 600;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.open_status);
    add_logical_run(++logical_run);
    add(kAttempts, attempt(++id, logical_run, "10:00", c.open_status));
    EXPECT_EQ(insert(kAttempts, attempt(++id, logical_run, "11:00", "RR")), c.outcome);
    EXPECT_EQ(versions(kAttempts, "logical_function_run_id = " + std::to_string(logical_run)), c.versions);
  }
}

TEST_F(PhysicalFunctionRunsServerTest, VersionsChainInTheOrderOfTheirStart) {
  add_logical_run(401);
  add(kAttempts, attempt(601, 401, "10:00", "D"));
  add(kAttempts, attempt(602, 401, "12:00", "D"));
  // Inserted between the two: it ends where the later one starts and cuts the earlier one.
  add(kAttempts, attempt(603, 401, "11:00", "D"));
  EXPECT_EQ(versions(kAttempts, "true"), "601 10:00-11:00, 603 11:00-12:00, 602 12:00-infinity");
  // Equal starts are ordered by id: the lower id ends where the higher one starts.
  add(kAttempts, attempt(605, 401, "13:00", "F"));
  add(kAttempts, attempt(604, 401, "13:00", "F"));
  EXPECT_EQ(versions(kAttempts, "id IN (604, 605)"), "604 13:00-13:00, 605 13:00-infinity");
}

TEST_F(PhysicalFunctionRunsServerTest, StatusMovesOnlyAlongAllowedTransitions) {
  struct Case {
    const char* from;
    const char* to;
    const char* outcome;
  };
  const Case cases[] = {
      {"RR", "DP", "ok"},
      {"DP", "R", "ok"},
      {"R", "D", "ok"},
      {"RR", "F", "ok"},
      {"DP", "F", "ok"},
      {"R", "F", "ok"},
      {"R", "R", "ok"},
      {"RR", "R", "P0001 physical_function_runs.status cannot move from RR to R"},
      {"D", "R", "P0001 physical_function_runs.status cannot move from D to R"},
      {"F", "RR", "P0001 physical_function_runs.status cannot move from F to RR"},
  };
  int logical_run = 400;
  int id = 600;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " to " + c.to);
    add_logical_run(++logical_run);
    add(kAttempts, attempt(++id, logical_run, "10:00", c.from));
    EXPECT_EQ(outcome("UPDATE physical_function_runs SET status = '" + std::string(c.to) +
                      "' WHERE id = " + std::to_string(id)),
              c.outcome);
  }
}

TEST_F(PhysicalFunctionRunsServerTest, OneOpenVersionPerLogicalRun) {
  add_logical_run(401);
  add(kAttempts, attempt(601, 401, "10:00", "F"));
  add(kAttempts, attempt(602, 401, "11:00", "RR"));
  EXPECT_EQ(outcome("UPDATE physical_function_runs SET valid_to = 'infinity' WHERE id = 601"),
            "23505 duplicate key value violates unique constraint \"pfr___logical_function_run_id___current_uidx\"");
}

TEST_F(PhysicalFunctionRunsServerTest, FunctionIdDefaultsToTheEmptyText) {
  add_logical_run(401);
  ASSERT_EQ(outcome("INSERT INTO physical_function_runs (id, project_id, collection_id, function_version_id, "
                    "execution_id, transaction_id, valid_from, triggered_by_id, trigger, status, base_path, "
                    "logical_function_run_id, valid_to) "
                    "VALUES (601, 'P1', 'C1', 100, 200, 300, now(), 'U1', 'M', 'RR', '/runs', 401, 'infinity')"),
            "ok");
  EXPECT_EQ(value("SELECT '[' || function_id || ']' FROM physical_function_runs"), "[]");
}

TEST_F(PhysicalFunctionRunsServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by one attempt and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("functions", {{"id", "101"}, {"function_id", "'F2'"}, {"name", "'function two'"}});
  add("executions", {{"id", "201"}});
  add_logical_run(401);
  add_logical_run(402);
  add(kAttempts, attempt(601, 401, "10:00", "D"));
  Values other_rows = attempt(602, 402, "10:00", "D");
  other_rows.insert(other_rows.end(),
                    {{"collection_id", "'C2'"}, {"function_version_id", "101"}, {"execution_id", "201"}});
  add(kAttempts, other_rows);

  expect_restricted("logical_function_runs", "401", "409", kAttempts,
                    "physical_function_runs_logical_function_run_id_fkey");
  expect_restricted("collections", "'C2'", "'C9'", kAttempts, "physical_function_runs_collection_id_fkey");
  expect_restricted("functions", "101", "109", kAttempts, "physical_function_runs_function_version_id_fkey");
  expect_restricted("executions", "201", "209", kAttempts, "physical_function_runs_execution_id_fkey");
}

TEST_F(PhysicalFunctionRunsServerTest, ViewResolvesNames) {
  add("connections");
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}, {"connection_id", "'N1'"}});
  add_logical_run(401);
  add_logical_run(402);
  add(kAttempts, attempt(601, 401, "10:00", "RR"));
  Values unnamed = attempt(602, 402, "10:00", "RR");
  unnamed.insert(unnamed.end(), {{"collection_id", "'C2'"}, {"triggered_by_id", "'U404'"}});
  add(kAttempts, unnamed);

  struct Case {
    const char* attempt;
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"601", "name", "function one"},
      {"601", "collection", "collection one"},
      {"601", "collection_deleted", "f"},
      {"601", "connection", "NULL"},
      {"601", "project", "project one"},
      {"601", "execution", "execution one"},
      {"601", "execution_function_version_id", "100"},
      {"601", "storage_version", "v1"},
      {"601", "triggered_by", "system"},
      {"602", "collection", "collection two"},
      {"602", "connection_id", "N1"},
      {"602", "connection", "bucket"},
      {"602", "triggered_by", "[U404]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.attempt) + " " + c.column);
    EXPECT_EQ(value(std::string("SELECT ") + c.column + " FROM physical_function_runs__with_names WHERE id = " +
                    c.attempt),
              c.value);
  }
}

}  // namespace
}  // namespace schema::current::physical_function_runs
