// Transactions on a real server: the default status, the RESTRICT keys and
// the view with names and run counts.

#include <gtest/gtest.h>

#include <string>

#include "test_support/run_rows.h"

namespace schema::current::transactions {
namespace {

using test_support::RunRowsFixture;

class TransactionsServerTest : public RunRowsFixture {};

TEST_F(TransactionsServerTest, StatusDefaultsToS) {
  ASSERT_EQ(outcome("INSERT INTO transactions (id, project_id, collection_id, execution_id, transaction_by, "
                    "transaction_key, triggered_on, triggered_by_id, group_id) "
                    "VALUES (301, 'P1', 'C1', 200, 'F', 'K', now(), 'U1', 'G1')"),
            "ok");
  EXPECT_EQ(value("SELECT status FROM transactions WHERE id = 301"), "S");
}

TEST_F(TransactionsServerTest, ReferencedRowsCannotBeDeletedOrRekeyed) {
  // Each of these rows is referred to by one transaction and by nothing else.
  add("collections", {{"id", "'C2'"}, {"name", "'collection two'"}});
  add("groups", {{"id", "'G2'"}, {"name", "'group two'"}});
  add("executions", {{"id", "201"}});
  add("transactions", {{"id", "301"}, {"collection_id", "'C2'"}});
  add("transactions", {{"id", "302"}, {"group_id", "'G2'"}});
  add("transactions", {{"id", "303"}, {"execution_id", "201"}});

  expect_restricted("collections", "'C2'", "'C9'", "transactions", "transactions_collection_id_fkey");
  expect_restricted("groups", "'G2'", "'G9'", "transactions", "transactions_group_id_fkey");
  expect_restricted("executions", "201", "209", "transactions", "transactions_execution_id_fkey");
}

TEST_F(TransactionsServerTest, ViewResolvesNamesAndCountsRunsByStatus) {
  add("transactions", {{"id", "301"}, {"triggered_by_id", "'U404'"}});
  add("logical_function_runs", {{"id", "401"}, {"function_id", "'F401'"}, {"status", "'S'"}});
  add("logical_function_runs", {{"id", "402"}, {"function_id", "'F402'"}, {"status", "'S'"}});
  add("logical_function_runs", {{"id", "403"}, {"function_id", "'F403'"}, {"status", "'R'"}});

  struct Case {
    const char* transaction;
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"300", "collection", "collection one"},
      {"300", "collection_deleted", "f"},
      {"300", "execution", "execution one"},
      {"300", "triggered_by", "system"},
      {"300", "\"group\"", "group one"},
      {"300", "project", "project one"},
      {"300", "function_run_status_count", R"({"R": 1, "S": 2})"},
      {"301", "triggered_by", "[U404]"},
      {"301", "function_run_status_count", "{}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.transaction) + " " + c.column);
    EXPECT_EQ(value(std::string("SELECT ") + c.column + " FROM transactions__with_names WHERE id = " + c.transaction),
              c.value);
  }
}

}  // namespace
}  // namespace schema::current::transactions
