#include <gtest/gtest.h>

#include "connection/transaction.h"
#include "schema/deltas/v9_to_v10/migration.h"
#include "test_support/session_fixture.h"
#include "test_support/installed_schema.h"

namespace schema::deltas::v9_to_v10 {
namespace {

// The columns of the version-9 tables that the step reads and changes.
const std::vector<std::string> kVersionNine = {
    "CREATE TABLE quorvale_system (name text PRIMARY KEY, value text)",
    "INSERT INTO quorvale_system VALUES ('db_version', '9')",
    "CREATE TABLE executions (id bigint PRIMARY KEY)",
    "CREATE TABLE transactions (id bigint PRIMARY KEY, execution_id bigint NOT NULL)",
    "CREATE TABLE logical_function_runs (id bigint PRIMARY KEY, project_id text NOT NULL, collection_id text NOT "
    "NULL, group_id text NOT NULL, execution_id bigint NOT NULL, transaction_id bigint NOT NULL, function_id text "
    "NOT NULL, status text NOT NULL)",
    "CREATE TABLE physical_function_runs (id bigint PRIMARY KEY, project_id text NOT NULL, logical_function_run_id "
    "bigint NOT NULL, execution_id bigint NOT NULL, transaction_id bigint NOT NULL, valid_from timestamptz NOT "
    "NULL, valid_to timestamptz NOT NULL, started_on timestamptz, ended_on timestamptz, status text NOT NULL, "
    "ended_on_hour_ms bigint, ended_on_day_ms bigint, ended_on_week_ms bigint, ended_on_month_ms bigint, "
    "metric_table_versions bigint, metric_rows bigint, metric_data_bytes bigint)",
    "CREATE TABLE logical_table_data_versions (id bigint PRIMARY KEY, table_id text NOT NULL, collection_id text "
    "NOT NULL, group_id text NOT NULL, producer_logical_function_run_id bigint, function_param_pos integer, private "
    "boolean NOT NULL)",
    "CREATE TABLE physical_table_data_versions (id bigint PRIMARY KEY, physical_function_run_id bigint NOT NULL, "
    "logical_table_data_version_id bigint NOT NULL, valid_from timestamptz NOT NULL, valid_to timestamptz NOT NULL, "
    "has_data boolean, row_count bigint, data_bytes bigint)",
    "CREATE TABLE logical_function_run_inputs (id text PRIMARY KEY, logical_function_run_id bigint NOT NULL, "
    "requirement_logical_table_data_version_id bigint, requirement_dependency_pos integer)",
};

// Execution 1: run 100 of a source function in group g-src failed once and
// then wrote table versions 500 (user table), 501 (never written) and 502
// (a system table); run 101 in group g-dst read version 500 and more; run
// 102 has not ended. Execution 2: transaction 20 with two committed runs,
// transaction 21 with a cancelled one.
const std::vector<std::string> kHistory = {
    "INSERT INTO executions VALUES (1), (2)",
    "INSERT INTO transactions VALUES (10, 1), (20, 2), (21, 2)",
    "INSERT INTO logical_function_runs VALUES "
    "(100, 'p', 'c-src', 'g-src', 1, 10, 'f-src', 'C'), (101, 'p', 'c-dst', 'g-dst', 1, 10, 'f-dst', 'R'), "
    "(102, 'p', 'c-dst', 'g-dst', 1, 10, 'f-late', 'S'), (200, 'p', 'c-src', 'g-src', 2, 20, 'f-a', 'C'), "
    "(201, 'p', 'c-src', 'g-src', 2, 20, 'f-b', 'C'), (202, 'p', 'c-src', 'g-src', 2, 21, 'f-c', 'X')",
    "INSERT INTO physical_function_runs (id, project_id, logical_function_run_id, execution_id, transaction_id, "
    "valid_from, valid_to, started_on, ended_on, status, metric_rows) VALUES "
    "(1000, 'p', 100, 1, 10, '2024-05-08 08:00Z', '2024-05-08 09:00Z', '2024-05-08 08:00Z', '2024-05-08 08:30Z', "
    "'F', 7), "
    "(1001, 'p', 100, 1, 10, '2024-05-08 09:00Z', 'infinity', '2024-05-08 09:00Z', '2024-05-08 10:59:59.999Z', "
    "'D', 8), "
    "(1010, 'p', 101, 1, 10, '2024-05-08 12:00Z', 'infinity', '2024-05-08 12:00Z', '2024-05-08 12:30Z', 'D', 9), "
    "(1020, 'p', 102, 1, 10, '2024-05-08 13:00Z', 'infinity', '2024-05-08 13:00Z', NULL, 'R', NULL), "
    "(2000, 'p', 200, 2, 20, '2024-05-01 01:00Z', 'infinity', '2024-05-01 01:00Z', '2024-05-01 02:00Z', 'D', NULL)",
    "INSERT INTO logical_table_data_versions VALUES (500, 't-1', 'c-src', 'g-src', 100, 0, false), "
    "(501, 't-2', 'c-src', 'g-src', 100, 1, true), (502, 't-state', 'c-src', 'g-src', 100, -1, false)",
    "INSERT INTO physical_table_data_versions VALUES "
    "(5003, 1000, 500, '2024-05-08 08:30Z', '2024-05-08 10:59:59.999Z', false, 0, 0), "
    "(5000, 1001, 500, '2024-05-08 10:59:59.999Z', 'infinity', true, 10, 100), "
    "(5001, 1001, 501, '2024-05-08 10:59:59.999Z', 'infinity', NULL, NULL, NULL), "
    "(5002, 1001, 502, '2024-05-08 10:59:59.999Z', 'infinity', true, 1, 1)",
    "INSERT INTO logical_function_run_inputs VALUES ('i-1', 101, 500, 0), ('i-2', 101, NULL, 1), "
    "('i-3', 101, 502, -1)",
};

class StepTenOnServer : public ::test_support::SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    test_support::ensure_across_projects_role(session());
    if (HasFatalFailure()) return;
    run(kVersionNine);
    run(kHistory);
    auto transaction = connection::Transaction::begin(session());
    ASSERT_TRUE(transaction) << connection::describe(transaction.error());
    run(Migration().up());
    auto committed = transaction->commit();
    ASSERT_TRUE(committed) << connection::describe(committed.error());
  }

  // The facts of one side, one line each, ordered by attempt and table version.
  std::string facts(const std::string& side, const std::string& columns) {
    return value("SELECT string_agg(" + columns + ", E'\\n' ORDER BY attempt_id, table_version_id) FROM "
                 "metrics_facts WHERE side = '" + side + "'");
  }
};

TEST_F(StepTenOnServer, OneFactPerEndedAttemptAndPerRunOnItsCurrentAttempt) {
  const std::string columns =
      "concat_ws(' ', attempt_id, function_run_id, execution_id, transaction_id, project_id, group_id, "
      "collection_id, function_id, attempt_outcome, run_status, replay, current, run_has_inputs, run_has_outputs, "
      "coalesce(table_id, '-'), has_data, row_count, data_bytes, coalesce(edge_kind, '-'), edge_first, "
      "edge_first_group)";
  EXPECT_EQ(facts("attempt", columns),
            "1000 100 1 10 p g-src c-src f-src failed committed 0 f f t - f 0 0 - f f\n"
            "1001 100 1 10 p g-src c-src f-src succeeded committed 1 t f t - f 0 0 - f f\n"
            "1010 101 1 10 p g-dst c-dst f-dst succeeded running 0 t t f - f 0 0 - f f\n"
            "2000 200 2 20 p g-src c-src f-a succeeded committed 0 t f f - f 0 0 - f f");
  EXPECT_EQ(facts("run", "concat_ws(' ', attempt_id, replay, current)"), "1001 1 t\n1010 0 t\n2000 0 t");
}

TEST_F(StepTenOnServer, WrittenUserTableVersionsAreSourceEdgesOfRunsWithoutInputs) {
  EXPECT_EQ(facts("written",
                  "concat_ws(' ', attempt_id, table_id, table_version_id, private, has_data, row_count, data_bytes, "
                  "coalesce(from_group_id, '-'), edge_kind, edge_first, edge_first_group, first_consumed_on AT TIME "
                  "ZONE 'UTC')"),
            "1000 t-1 500 f f 0 0 - source t t 2024-05-08 12:00:00\n"
            "1001 t-1 500 f t 10 100 - source t t 2024-05-08 12:00:00");
}

TEST_F(StepTenOnServer, ReadsOfTheCurrentAttemptFromTheVersionLiveAtItsStart) {
  EXPECT_EQ(facts("read",
                  "concat_ws(' ', attempt_id, group_id, collection_id, from_group_id, from_collection_id, table_id, "
                  "table_version_id, has_data, row_count, data_bytes, edge_kind, edge_first, edge_first_group)"),
            "1010 g-dst c-dst g-src c-src t-1 500 t 10 100 input t t");
}

TEST_F(StepTenOnServer, TimeAndBucketsComeFromTheEventsEndInUtc) {
  EXPECT_EQ(value("SELECT concat_ws(' ', ts AT TIME ZONE 'UTC', "
                  "to_timestamp(ts_hour_ms / 1000.0) AT TIME ZONE 'UTC', "
                  "to_timestamp(ts_day_ms / 1000.0) AT TIME ZONE 'UTC', "
                  "to_timestamp(ts_week_ms / 1000.0) AT TIME ZONE 'UTC', "
                  "to_timestamp(ts_month_ms / 1000.0) AT TIME ZONE 'UTC') "
                  "FROM metrics_facts WHERE side = 'attempt' AND attempt_id = 1001"),
            "2024-05-08 10:59:59.999 2024-05-08 10:00:00 2024-05-08 00:00:00 2024-05-06 00:00:00 "
            "2024-05-01 00:00:00");
  EXPECT_EQ(value("SELECT count(DISTINCT (ts, ts_hour_ms, ts_day_ms, ts_week_ms, ts_month_ms)) FROM "
                  "metrics_facts WHERE attempt_id = 1001"),
            "1");
}

TEST_F(StepTenOnServer, BucketColumnsLeaveThePhysicalRunsTheOtherMetricsStay) {
  EXPECT_EQ(value("SELECT string_agg(column_name, ',' ORDER BY ordinal_position) FROM information_schema.columns "
                  "WHERE table_name = 'physical_function_runs' AND (column_name LIKE 'metric%' OR column_name "
                  "LIKE 'ended_on%')"),
            "ended_on,metric_table_versions,metric_rows,metric_data_bytes");
  EXPECT_EQ(value("SELECT metric_rows FROM physical_function_runs WHERE id = 1001"), "8");
}

TEST_F(StepTenOnServer, VersionFourRollupsAndTheNewTablesRowLevelSecurity) {
  EXPECT_EQ(value("SELECT string_agg(concat_ws(' ', id, status, started_on AT TIME ZONE 'UTC', coalesce((ended_on "
                  "AT TIME ZONE 'UTC')::text, '-')), ', ' ORDER BY id) FROM executions"),
            "1 R 2024-05-08 08:00:00 -, 2 F 2024-05-01 01:00:00 2024-05-01 02:00:00");
  EXPECT_EQ(value("SELECT string_agg(id || ' ' || status, ', ' ORDER BY id) FROM transactions"),
            "10 R, 20 C, 21 X");
  EXPECT_EQ(value("SELECT relrowsecurity AND relforcerowsecurity FROM pg_class WHERE relname = 'metrics_facts'"),
            "t");
  EXPECT_EQ(value("SELECT string_agg(polname, ',' ORDER BY polname) FROM pg_policy"),
            "across_projects,project_isolation");
  EXPECT_EQ(value("SELECT value FROM quorvale_system WHERE name = 'db_version'"), "10");
}

}  // namespace
}  // namespace schema::deltas::v9_to_v10
