#include <gtest/gtest.h>

#include "schema/deltas/v12_to_v13.h"
#include "schema/testing/folded.h"
#include "test_support/session_fixture.h"

namespace schema::deltas::v12_to_v13 {
namespace {

class StepThirteenOnServer : public ::test_support::SessionFixture {
 protected:
  // The statement of the step's up list that starts with `start`, white
  // space folded.
  std::string statement(std::string_view start) {
    for (const std::string& text : delta().up) {
      if (testing::folded(text).starts_with(start)) return text;
    }
    ADD_FAILURE() << "no statement starts with " << start;
    return "SELECT 1";
  }
};

TEST_F(StepThirteenOnServer, GuardListsEveryCollectionWithTwoLiveNamesAlike) {
  run({
      "CREATE TABLE functions (collection_id text, name text, valid_to timestamptz)",
      "CREATE TABLE tables (collection_id text, name text, valid_to timestamptz)",
      "INSERT INTO functions VALUES ('c1', 'f', 'infinity'), ('c1', 'f', '2024-01-01'), ('c2', 'f', 'infinity')",
      "INSERT INTO tables VALUES ('c1', 'x', 'infinity'), ('c2', 'x', 'infinity')",
  });
  const std::string guard = statement("DO $$");
  run(guard);

  run("INSERT INTO functions VALUES ('c1', 'f', 'infinity'), ('c0', 'g', 'infinity'), ('c0', 'g', 'infinity')");
  run("INSERT INTO tables VALUES ('c2', 'x', 'infinity')");
  auto refused = session().execute_script(guard);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().sqlstate, "P0001");
  EXPECT_EQ(refused.error().message,
            "Live names must be unique within a collection; rename or delete one of each, then upgrade again: "
            "function g in collection c0; function f in collection c1; table x in collection c2");
}

TEST_F(StepThirteenOnServer, VersionsWithoutDataOfUnfinishedRunsBecomeEmptyAndTheRestIsChainedAgain) {
  run({
      "CREATE TABLE physical_function_runs (id bigint PRIMARY KEY, status text NOT NULL)",
      "CREATE TABLE physical_table_data_versions (id bigint PRIMARY KEY, logical_table_data_version_id bigint, "
      "physical_function_run_id bigint, valid_from timestamptz, valid_to timestamptz, has_data boolean)",
      "INSERT INTO physical_function_runs VALUES (1, 'D'), (2, 'F'), (3, 'D')",
      // Version 7: the failed run's version without data sits between two others.
      "INSERT INTO physical_table_data_versions VALUES "
      "(71, 7, 1, '2024-05-08 01:00Z', '2024-05-08 02:00Z', true), "
      "(72, 7, 2, '2024-05-08 02:00Z', '2024-05-08 03:00Z', NULL), "
      "(73, 7, 3, '2024-05-08 03:00Z', 'infinity', true), "
      "(81, 8, 1, '2024-05-08 01:00Z', '2024-05-08 02:00Z', true), "
      "(82, 8, 3, '2024-05-08 02:00Z', 'infinity', NULL)",
  });
  run(statement("UPDATE physical_table_data_versions t SET valid_to = t.valid_from"));
  run(statement("UPDATE physical_table_data_versions t SET valid_to = n.next_valid_from"));
  EXPECT_EQ(value("SELECT string_agg(id || ' ' || to_char(valid_from AT TIME ZONE 'UTC', 'HH24') || '-' || "
                  "coalesce(to_char(valid_to AT TIME ZONE 'UTC', 'HH24'), valid_to::text), ', ' ORDER BY id) "
                  "FROM physical_table_data_versions"),
            "71 01-03, 72 02-02, 73 03-infinity, 81 01-02, 82 02-infinity");
}

// Executions over transactions over runs, with attempts for the spans.
class RollupsOnServer : public StepThirteenOnServer {
 protected:
  void SetUp() override {
    StepThirteenOnServer::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run({
        "CREATE TABLE executions (id bigint PRIMARY KEY, status text NOT NULL DEFAULT 'S', started_on timestamptz, "
        "ended_on timestamptz)",
        "CREATE TABLE transactions (id bigint PRIMARY KEY, execution_id bigint NOT NULL, status text NOT NULL "
        "DEFAULT 'S', started_on timestamptz, ended_on timestamptz)",
        "CREATE TABLE logical_function_runs (id bigint PRIMARY KEY, execution_id bigint, transaction_id bigint, "
        "status text)",
        "CREATE TABLE physical_function_runs (id bigint PRIMARY KEY, execution_id bigint, transaction_id bigint, "
        "started_on timestamptz, ended_on timestamptz)",
    });
  }

  void backfill() {
    run(statement(R"sql(UPDATE "transactions" AS "target")sql"));
    run(statement(R"sql(UPDATE "executions" AS "target")sql"));
  }

  std::string summaries(const std::string& table) {
    return value("SELECT string_agg(concat_ws(' ', id, status, coalesce(to_char(started_on AT TIME ZONE 'UTC', "
                 "'HH24'), '-'), coalesce(to_char(ended_on AT TIME ZONE 'UTC', 'HH24'), '-')), ', ' ORDER BY id) "
                 "FROM " + table);
  }
};

TEST_F(RollupsOnServer, ExecutionsSummariseTheirTransactions) {
  run({
      "INSERT INTO executions (id) VALUES (1), (2), (3), (4), (5)",
      "INSERT INTO transactions (id, execution_id) VALUES (10, 1), (11, 1), (20, 2), (21, 2), (30, 3), (40, 4)",
      // 1 runs, 2 has finished, 3 waits, 4 has only runs in RR, 5 has no transaction.
      "INSERT INTO logical_function_runs VALUES (100, 1, 10, 'R'), (101, 1, 10, 'C'), (110, 1, 11, 'C'), "
      "(200, 2, 20, 'C'), (201, 2, 20, 'C'), (210, 2, 21, 'X'), (300, 3, 30, 'S'), (400, 4, 40, 'RR'), "
      "(401, 4, 40, 'RR')",
      "INSERT INTO physical_function_runs VALUES (1000, 1, 10, '2024-05-08 01:00Z', '2024-05-08 02:00Z'), "
      "(1100, 1, 11, '2024-05-08 03:00Z', '2024-05-08 04:00Z'), (2000, 2, 20, '2024-05-08 05:00Z', "
      "'2024-05-08 06:00Z'), (2100, 2, 21, '2024-05-08 07:00Z', '2024-05-08 08:00Z'), "
      "(4000, 4, 40, '2024-05-08 09:00Z', NULL)",
  });
  backfill();
  EXPECT_EQ(summaries("transactions"), "10 R 01 -, 11 C 03 04, 20 C 05 06, 21 X 07 08, 30 S - -, 40 R 09 -");
  EXPECT_EQ(summaries("executions"), "1 R 01 -, 2 F 05 08, 3 S - -, 4 R 09 -, 5 S - -");
}

TEST_F(RollupsOnServer, TransactionLadder) {
  const struct {
    const char* runs;
    const char* status;
  } cases[] = {
      {"('S'), ('S')", "S"}, {"('S'), ('C')", "R"}, {"('E'), ('F')", "R"}, {"('F'), ('C')", "L"},
      {"('H'), ('Y')", "L"}, {"('Y'), ('C')", "Y"}, {"('D'), ('C')", "R"}, {"('C'), ('C')", "C"},
      {"('C'), ('X')", "X"}, {"('X')", "X"},
  };
  run("INSERT INTO executions (id) VALUES (1)");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.runs);
    run({"DELETE FROM logical_function_runs", "DELETE FROM transactions",
         "INSERT INTO transactions (id, execution_id) VALUES (10, 1)",
         std::string("INSERT INTO logical_function_runs SELECT row_number() OVER (), 1, 10, s FROM (VALUES ") +
             c.runs + ") AS v (s)"});
    backfill();
    EXPECT_EQ(value("SELECT status FROM transactions"), c.status);
  }
}

}  // namespace
}  // namespace schema::deltas::v12_to_v13
