// Executions on a real server: the defaults, the RESTRICT keys and the view
// with names and run counts, also for a function version the reader cannot
// resolve.

#include <gtest/gtest.h>

#include <string>

#include "test_support/run_rows.h"

namespace schema::current::executions {
namespace {

using test_support::RunRowsFixture;

class ExecutionsServerTest : public RunRowsFixture {};

TEST_F(ExecutionsServerTest, OmittedColumnsTakeTheirDefaults) {
  ASSERT_EQ(outcome("INSERT INTO executions (id, project_id, collection_id, function_version_id, triggered_on, "
                    "triggered_by_id) VALUES (201, 'P1', 'C1', 100, now(), 'U1')"),
            "ok");
  struct Case {
    const char* column;
    const char* value;
  };
  const Case cases[] = {{"trigger_type", "M"}, {"function_id", ""}, {"status", "S"}};
  for (const Case& c : cases) {
    EXPECT_EQ(value(std::string("SELECT ") + c.column + " FROM executions WHERE id = 201"), c.value) << c.column;
  }
}

TEST_F(ExecutionsServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by one execution and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("functions", {{"id", "101"}, {"function_id", "'F2'"}, {"name", "'function two'"}});
  add("executions", {{"id", "201"}, {"collection_id", "'C2'"}});
  add("executions", {{"id", "202"}, {"function_version_id", "101"}});

  expect_restricted("collections", "'C2'", "'C9'", "executions", "executions_collection_id_fkey");
  expect_restricted("functions", "101", "109", "executions", "executions_function_version_id_fkey");
}

TEST_F(ExecutionsServerTest, ViewResolvesNamesAndCountsRunsByStatus) {
  add("executions", {{"id", "201"}, {"triggered_by_id", "'U404'"}});
  add("logical_function_runs", {{"id", "401"}, {"function_id", "'F401'"}, {"status", "'C'"}});
  add("logical_function_runs", {{"id", "402"}, {"function_id", "'F402'"}, {"status", "'C'"}});
  add("logical_function_runs", {{"id", "403"}, {"function_id", "'F403'"}, {"status", "'F'"}});

  struct Case {
    const char* execution;
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"200", "collection", "collection one"},
      {"200", "collection_deleted", "f"},
      {"200", "function", "function one"},
      {"200", "triggered_by", "system"},
      {"200", "project", "project one"},
      {"200", "function_run_status_count", R"({"C": 2, "F": 1})"},
      {"201", "triggered_by", "[U404]"},
      {"201", "function_run_status_count", "{}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.execution) + " " + c.column);
    EXPECT_EQ(value(std::string("SELECT ") + c.column + " FROM executions__with_names WHERE id = " + c.execution),
              c.value);
  }
}

// The view reads with the reader's rights: a function version of another
// project does not resolve for a reader of project P1, and the execution is
// listed all the same.
TEST_F(ExecutionsServerTest, ViewListsAnExecutionWhoseFunctionVersionDoesNotResolve) {
  add("functions", {{"id", "101"}, {"project_id", "'P2'"}, {"function_id", "'F2'"}, {"name", "'function two'"}});
  add("executions", {{"id", "201"}, {"function_version_id", "101"}});
  const std::string reader = role_name("reader");
  ASSERT_EQ(outcome("CREATE ROLE " + reader), "ok");
  ASSERT_EQ(outcome("GRANT USAGE ON SCHEMA qv_apiserver TO " + reader), "ok");
  ASSERT_EQ(outcome("GRANT SELECT ON ALL TABLES IN SCHEMA qv_apiserver TO " + reader), "ok");
  ASSERT_EQ(outcome("SET ROLE " + reader), "ok");
  ASSERT_EQ(outcome("SET app.project_id = 'P1'"), "ok");

  EXPECT_EQ(value("SELECT string_agg(id || ':' || coalesce(function, 'NULL'), ',' ORDER BY id) "
                  "FROM executions__with_names"),
            "200:function one,201:NULL");
}

}  // namespace
}  // namespace schema::current::executions
