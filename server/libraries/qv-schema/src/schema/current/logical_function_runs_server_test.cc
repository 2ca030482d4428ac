// Logical function runs on a real server: the status transitions, the one
// run of a function per execution, the defaults, the RESTRICT keys and the
// view with the live attempt.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/run_rows.h"

namespace schema::current::logical_function_runs {
namespace {

using test_support::at;
using test_support::RunRowsFixture;

constexpr const char* kRuns = "logical_function_runs";

class LogicalFunctionRunsServerTest : public RunRowsFixture {
 protected:
  // Inserts a run of its own function in status `from` and moves it to `to`.
  std::string move(int run, const std::string& from, const std::string& to) {
    const std::string id = std::to_string(run);
    add(kRuns, {{"id", id}, {"function_id", "'F" + id + "'"}, {"status", "'" + from + "'"}});
    return outcome("UPDATE logical_function_runs SET status = '" + to + "' WHERE id = " + id);
  }
};

std::string refused(const std::string& from, const std::string& to) {
  return "P0001 logical_function_runs.status cannot move from " + from + " to " + to;
}

TEST_F(LogicalFunctionRunsServerTest, StatusMovesOnlyAlongAllowedTransitions) {
  struct Case {
    std::string from;
    std::string to;
    std::string outcome;
  };
  std::vector<Case> cases = {
      {"S", "RR", "ok"}, {"S", "R", refused("S", "R")}, {"RR", "S", "ok"},  {"R", "D", "ok"},
      {"D", "C", "ok"},  {"C", "Y", "ok"},              {"F", "D", "ok"},   {"H", "RS", "ok"},
      {"E", "R", refused("E", "R")},                    {"RS", "R", refused("RS", "R")},
  };
  // A completed run may only be superseded; the two terminal codes never move.
  const std::vector<std::string> codes = {"S", "RR", "RS", "R", "D", "C", "E", "F", "H", "X", "Y"};
  for (const std::string& to : codes) {
    if (to != "C" && to != "Y") cases.push_back({"C", to, refused("C", to)});
    if (to != "X") cases.push_back({"X", to, refused("X", to)});
    if (to != "Y") cases.push_back({"Y", to, refused("Y", to)});
  }
  int run = 1000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from + " to " + c.to);
    EXPECT_EQ(move(++run, c.from, c.to), c.outcome);
  }
}

TEST_F(LogicalFunctionRunsServerTest, InsertsAndUnchangedStatusesPassTheTrigger) {
  EXPECT_EQ(insert(kRuns, {{"id", "401"}, {"function_id", "'F401'"}, {"status", "'Q'"}}), "ok");
  EXPECT_EQ(insert(kRuns, {{"id", "402"}, {"function_id", "'F402'"}, {"status", "'Y'"}}), "ok");
  EXPECT_EQ(outcome("UPDATE logical_function_runs SET status = 'Q' WHERE id = 401"), "ok");
  EXPECT_EQ(outcome("UPDATE logical_function_runs SET status = status, recoveries = 1 WHERE id = 402"), "ok");
  EXPECT_EQ(value("SELECT string_agg(status, ',' ORDER BY id) FROM logical_function_runs"), "Q,Y");
}

TEST_F(LogicalFunctionRunsServerTest, OneRunOfAFunctionPerExecution) {
  add("executions", {{"id", "201"}});
  add(kRuns);
  EXPECT_EQ(insert(kRuns, {{"id", "401"}}),
            "23505 duplicate key value violates unique constraint "
            "\"logical_function_runs___execution_id__function_id___idx\"");
  EXPECT_EQ(insert(kRuns, {{"id", "402"}, {"execution_id", "201"}}), "ok");
  EXPECT_EQ(insert(kRuns, {{"id", "403"}, {"function_id", "'F2'"}}), "ok");
}

TEST_F(LogicalFunctionRunsServerTest, OmittedColumnsTakeTheirDefaults) {
  ASSERT_EQ(outcome("INSERT INTO logical_function_runs (id, project_id, collection_id, execution_id, "
                    "transaction_id, function_id, trigger, triggered_on, triggered_by_id, status, group_id) "
                    "VALUES (400, 'P1', 'C1', 200, 300, 'F1', 'M', now(), 'U1', 'S', 'G1')"),
            "ok");
  EXPECT_EQ(value("SELECT function_version_id FROM logical_function_runs"), "197001010000000001");
  EXPECT_EQ(value("SELECT recoveries FROM logical_function_runs"), "0");
}

TEST_F(LogicalFunctionRunsServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by one run and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("groups", {{"id", "'G2'"}, {"name", "'group two'"}});
  add("executions", {{"id", "201"}});
  add("transactions", {{"id", "301"}});
  add(kRuns, {{"id", "401"}, {"function_id", "'F401'"}, {"collection_id", "'C2'"}});
  add(kRuns, {{"id", "402"}, {"function_id", "'F402'"}, {"group_id", "'G2'"}});
  add(kRuns, {{"id", "403"}, {"function_id", "'F403'"}, {"execution_id", "201"}});
  add(kRuns, {{"id", "404"}, {"function_id", "'F404'"}, {"transaction_id", "301"}});

  expect_restricted("collections", "'C2'", "'C9'", kRuns, "logical_function_runs_collection_id_fkey");
  expect_restricted("groups", "'G2'", "'G9'", kRuns, "logical_function_runs_group_id_fkey");
  expect_restricted("executions", "201", "209", kRuns, "logical_function_runs_execution_id_fkey");
  expect_restricted("transactions", "301", "309", kRuns, "logical_function_runs_transaction_id_fkey");
}

TEST_F(LogicalFunctionRunsServerTest, ViewNamesTheRunAndItsLiveAttempt) {
  add(kRuns, {{"id", "401"}, {"function_id", "'F401'"}, {"triggered_by_id", "'U404'"}});
  add(kRuns, {{"id", "402"}, {"function_id", "'F402'"}, {"status", "'R'"}});
  add("physical_function_runs", {{"id", "601"}, {"logical_function_run_id", "402"}, {"valid_from", at("10:00")},
                                 {"status", "'F'"}, {"started_on", at("10:01")}, {"ended_on", at("10:02")}});
  add("physical_function_runs", {{"id", "602"}, {"logical_function_run_id", "402"}, {"valid_from", at("11:00")},
                                 {"status", "'R'"}, {"started_on", at("11:01")}});

  struct Case {
    const char* run;
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"401", "triggered_by", "[U404]"},
      {"401", "num_nonnulls(physical_function_run_id, started_on, ended_on, physical_status, "
              "function_version_patch_id)",
       "0"},
      {"402", "triggered_by", "system"},
      {"402", "name", "function one"},
      {"402", "collection", "collection one"},
      {"402", "collection_deleted", "f"},
      {"402", "execution", "execution one"},
      {"402", "\"group\"", "group one"},
      {"402", "project", "project one"},
      {"402", "physical_function_run_id", "602"},
      {"402", "physical_status", "R"},
      {"402", "started_on", "2024-01-01 11:01:00+00"},
      {"402", "ended_on", "NULL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.run) + " " + c.column);
    EXPECT_EQ(value(std::string("SELECT ") + c.column + " FROM function_runs__with_names WHERE id = " + c.run),
              c.value);
  }
}

}  // namespace
}  // namespace schema::current::logical_function_runs
