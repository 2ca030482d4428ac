// Workers on a real server: the status transitions keyed by worker type, the
// default, the RESTRICT keys and the view of enabled workers.

#include <gtest/gtest.h>

#include <string>

#include "test_support/run_rows.h"

namespace schema::current::workers {
namespace {

using test_support::RunRowsFixture;

class WorkersServerTest : public RunRowsFixture {};

TEST_F(WorkersServerTest, StatusMovesAlongTheTransitionsOfTheWorkerType) {
  struct Case {
    const char* type;
    const char* from;
    const char* to;
    const char* outcome;
  };
  const Case cases[] = {
      {"F", "RR", "R", "ok"},
      {"F", "S", "RR", "P0001 workers.status cannot move from S to RR"},
      {"F", "D", "R", "P0001 workers.status cannot move from D to R"},
      {"CT", "D", "R", "ok"},
      {"ST", "D", "R", "P0001 workers.status cannot move from D to R"},
      {"CT", "F", "D", "ok"},
      {"ST", "F", "D", "P0001 workers.status cannot move from F to D"},
      {"ST", "SPS", "SPR", "ok"},
      {"CT", "SPR", "SP", "ok"},
      {"CT", "SP", "S", "P0001 workers.status cannot move from SP to S"},
      // A type without transitions allows no change, only the same status again.
      {"Z", "RR", "R", "P0001 workers.status cannot move from RR to R"},
      {"Z", "RR", "RR", "ok"},
      {"F", "S", "S", "ok"},
      {"ST", "D", "D", "ok"},
      {"CT", "SP", "SP", "ok"},
  };
  int worker = 800;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.from + " to " + c.to);
    const std::string id = std::to_string(++worker);
    add("workers", {{"id", id}, {"worker_type", std::string("'") + c.type + "'"},
                    {"status", std::string("'") + c.from + "'"}});
    EXPECT_EQ(outcome("UPDATE workers SET status = '" + std::string(c.to) + "' WHERE id = " + id), c.outcome);
  }
}

TEST_F(WorkersServerTest, TransitionsFollowTheWorkerTypeBeforeTheUpdate) {
  add("workers", {{"id", "801"}, {"worker_type", "'ST'"}, {"status", "'D'"}});
  add("workers", {{"id", "802"}, {"worker_type", "'CT'"}, {"status", "'D'"}});
  EXPECT_EQ(outcome("UPDATE workers SET worker_type = 'CT', status = 'R' WHERE id = 801"),
            "P0001 workers.status cannot move from D to R");
  EXPECT_EQ(outcome("UPDATE workers SET worker_type = 'ST', status = 'R' WHERE id = 802"), "ok");
}

TEST_F(WorkersServerTest, FailuresDefaultToZero) {
  ASSERT_EQ(outcome("INSERT INTO workers (id, project_id, collection_id, function_version_id, status, worker_type, "
                    "worker_enabled) VALUES (801, 'P1', 'C1', 100, 'S', 'F', true)"),
            "ok");
  EXPECT_EQ(value("SELECT failures FROM workers"), "0");
}

TEST_F(WorkersServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by one worker and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("functions", {{"id", "101"}, {"function_id", "'F2'"}, {"name", "'function two'"}});
  add("executions", {{"id", "201"}});
  add("transactions", {{"id", "301"}});
  add("logical_function_runs");
  add("physical_function_runs", {{"status", "'D'"}});
  add("workers", {{"id", "801"}, {"collection_id", "'C2'"}, {"function_version_id", "101"}, {"execution_id", "201"},
                  {"transaction_id", "301"}, {"physical_function_run_id", "600"}});

  expect_restricted("collections", "'C2'", "'C9'", "workers", "workers_collection_id_fkey");
  expect_restricted("functions", "101", "109", "workers", "workers_function_version_id_fkey");
  expect_restricted("executions", "201", "209", "workers", "workers_execution_id_fkey");
  expect_restricted("transactions", "301", "309", "workers", "workers_transaction_id_fkey");
  expect_restricted("physical_function_runs", "600", "609", "workers", "workers_physical_function_run_id_fkey");
}

TEST_F(WorkersServerTest, ViewListsEnabledWorkersWithNames) {
  add("connections");
  ASSERT_EQ(outcome("UPDATE collections SET connection_id = 'N1' WHERE id = 'C1'"), "ok");
  add("function_patches");
  add("logical_function_runs");
  add("physical_function_runs", {{"function_version_patch_id", "900"}});
  add("workers", {{"id", "801"}, {"physical_function_run_id", "600"}});
  add("workers", {{"id", "802"}, {"worker_enabled", "false"}});

  EXPECT_EQ(value("SELECT string_agg(id::text, ',') FROM workers__with_names"), "801");
  struct Case {
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"logical_function_run_id", "400"},
      {"collection", "collection one"},
      {"collection_deleted", "f"},
      {"connection_id", "N1"},
      {"connection", "bucket"},
      {"execution", "execution one"},
      {"function_id", "F1"},
      {"function", "function one"},
      {"enabled", "t"},
      {"project", "project one"},
      {"function_version_patch_id", "900"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(value(std::string("SELECT ") + c.column + " FROM workers__with_names WHERE id = 801"), c.value)
        << c.column;
  }
}

}  // namespace
}  // namespace schema::current::workers
