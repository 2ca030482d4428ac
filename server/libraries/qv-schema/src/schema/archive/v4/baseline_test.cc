// A version-4 database installed on a real server: what it holds, and how
// its keys, triggers and status views behave.

#include "schema/archive/v4/baseline.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "test_support/v4_installed_schema.h"

namespace schema::archive::v4 {
namespace {

using ::test_support::query_value;

// "ok", or the SQLSTATE and the server's message of the failure.
std::string outcome(connection::Connection& db, std::string_view sql,
                    const std::vector<connection::Param>& params = {}) {
  const auto result = db.execute(sql, params);
  if (result) return "ok";
  return result.error().sqlstate + ": " + result.error().message;
}

constexpr const char* kGroup =
    "INSERT INTO groups (id, project_id, name, description, created_on, created_by_id, modified_on, "
    "modified_by_id, system) VALUES ($1, $2, $3, '', now(), 'u', now(), 'u', false)";
constexpr const char* kConnection =
    "INSERT INTO connections (id, project_id, kind, created_on, created_by_id, modified_on, modified_by_id) "
    "VALUES ($1, $2, 'k', now(), 'u', now(), 'u')";
constexpr const char* kCollection =
    "INSERT INTO collections (id, project_id, name, description, created_on, created_by_id, modified_on, "
    "modified_by_id, group_id, collection_type, connection_id) "
    "VALUES ($1, $2, $1, '', now(), 'u', now(), 'u', $3, 'T', $4)";
constexpr const char* kFunction =
    "INSERT INTO functions (id, project_id, collection_id, name, description, decorator, runtime_values, "
    "function_id, stage_id, stage_base_path, storage_version, bundle_id, snippet, defined_on, defined_by_id, "
    "status, valid_to) VALUES ('f1', 'p1', 'col1', 'f', '', '', '', 'fn1', '', '', '', '', '', now(), 'u', 'A', "
    "'infinity')";
constexpr const char* kExecution =
    "INSERT INTO executions (id, project_id, collection_id, function_version_id, triggered_on, triggered_by_id) "
    "VALUES ($1, 'p1', 'col1', 'f1', now(), 'u')";
constexpr const char* kTransaction =
    "INSERT INTO transactions (id, project_id, collection_id, execution_id, transaction_by, transaction_key, "
    "triggered_on, triggered_by_id, group_id) VALUES ($1, 'p1', 'col1', $2, '', '', now(), 'u', $3)";
constexpr const char* kRun =
    "INSERT INTO logical_function_runs (id, project_id, collection_id, execution_id, transaction_id, function_id, "
    "trigger, triggered_on, triggered_by_id, status, group_id) "
    "VALUES ($1, 'p1', 'col1', $2, $3, $1, 'M', now(), 'u', $4, 'g1')";
constexpr const char* kAttempt =
    "INSERT INTO physical_function_runs (id, project_id, collection_id, function_version_id, execution_id, "
    "transaction_id, triggered_on, triggered_by_id, trigger, started_on, ended_on, status, base_path, "
    "logical_function_run_id, valid_to) VALUES ($1, 'p1', 'col1', 'f1', $2, $3, now(), 'u', 'M', "
    "$4::timestamptz, $5::timestamptz, 'D', '', $1, 'infinity')";

// Project p1 with group g1, connection c1, collection col1 and function f1.
class V4BaselineTest : public test_support::V4InstalledSchemaFixture {
 protected:
  void SetUp() override {
    V4InstalledSchemaFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    insert(kGroup, {"g1", "p1", "group"});
    insert(kConnection, {"c1", "p1"});
    insert(kCollection, {"col1", "p1", "g1", "c1"});
    insert(kFunction);
  }

  void insert(const char* sql, const std::vector<connection::Param>& params = {}) {
    ASSERT_EQ(outcome(db(), sql, params), "ok") << sql;
  }

  // An execution and a transaction of it, both named `id`, with a run in each
  // of `statuses`.
  void execution_with_runs(const std::string& id, const std::vector<std::string>& statuses) {
    insert(kExecution, {id});
    insert(kTransaction, {id, id, std::string("g1")});
    for (std::size_t i = 0; i < statuses.size(); ++i) {
      insert(kRun, {id + "_run" + std::to_string(i), id, id, statuses[i]});
    }
  }
};

TEST_F(V4BaselineTest, HoldsTheVersion4SchemaAndRowLevelSecurity) {
  struct Case {
    const char* what;
    const char* sql;
    const char* value;
  };
  const Case cases[] = {
      {"db_version", "SELECT value FROM quorvale_system WHERE name = 'db_version'", "4"},
      {"quorvale_version", "SELECT value FROM quorvale_system WHERE name = 'quorvale_version'", "2"},
      {"tables, the system table included", "SELECT count(*) FROM pg_tables WHERE schemaname = 'qv_apiserver'", "25"},
      {"columns of the version-4 tables",
       "SELECT count(*) FROM information_schema.columns c JOIN pg_tables t "
       "ON t.schemaname = c.table_schema AND t.tablename = c.table_name "
       "WHERE c.table_schema = 'qv_apiserver' AND c.table_name <> 'quorvale_system'", "292"},
      {"views", "SELECT count(*) FROM pg_views WHERE schemaname = 'qv_apiserver'", "32"},
      {"named indexes", "SELECT count(*) FROM pg_indexes WHERE schemaname = 'qv_apiserver' AND indexname LIKE '%idx'",
       "92"},
      {"triggers", "SELECT string_agg(tgname, ' ' ORDER BY tgname) FROM pg_trigger WHERE NOT tgisinternal",
       "dependencies__scd2_close function_patches__immutable_no_delete function_patches__immutable_no_update "
       "function_patches__scd2_close functions__scd2_close logical_function_runs__sticky_terminals "
       "physical_function_runs__scd2_close physical_table_data_versions__scd2_close tables__scd2_close "
       "triggers__scd2_close"},
      {"policies", "SELECT count(*) FROM pg_policies WHERE schemaname = 'qv_apiserver'", "36"},
      {"tables with forced row-level security",
       "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
       "WHERE n.nspname = 'qv_apiserver' AND c.relrowsecurity AND c.relforcerowsecurity", "18"},
      {"columns with a collation",
       "SELECT count(*) FROM information_schema.columns WHERE table_schema = 'qv_apiserver' "
       "AND collation_name IS NOT NULL", "0"},
      {"columns named valid_from",
       "SELECT count(*) FROM information_schema.columns WHERE table_schema = 'qv_apiserver' "
       "AND column_name = 'valid_from'", "0"},
      {"tables with defined_on",
       "SELECT string_agg(c.table_name, ' ' ORDER BY c.table_name) FROM information_schema.columns c JOIN pg_tables t "
       "ON t.schemaname = c.table_schema AND t.tablename = c.table_name "
       "WHERE c.table_schema = 'qv_apiserver' AND c.column_name = 'defined_on'",
       "dependencies function_patches functions tables triggers"},
      {"objects in public",
       "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = 'public'",
       "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(query_value(db(), c.sql), c.value) << c.what;
}

TEST_F(V4BaselineTest, GroupsAndConnectionsAreKeyedWithinTheirProject) {
  struct Case {
    const char* what;
    const char* sql;
    std::vector<connection::Param> params;
    std::string outcome;
  };
  const Case cases[] = {
      {"a group id of another project", kGroup, {"g1", "p2", "other"}, "ok"},
      {"a group id twice in one project", kGroup, {"g1", "p1", "again"},
       "23505: duplicate key value violates unique constraint \"groups_pkey\""},
      {"a connection id of another project", kConnection, {"c1", "p2"}, "ok"},
      {"a connection id twice in one project", kConnection, {"c1", "p1"},
       "23505: duplicate key value violates unique constraint \"connections_pkey\""},
      {"a collection in the project of its group and connection", kCollection, {"col2", "p2", "g1", "c1"}, "ok"},
      {"a collection on a group of another project", kCollection, {"col3", "p3", "g1", connection::Null{}},
       "23503: insert or update on table \"collections\" violates foreign key constraint "
       "\"collections_project_id_group_id_fkey\""},
      {"a collection on a connection of another project", kCollection, {"col3", "p3", "g3", "c1"},
       "23503: insert or update on table \"collections\" violates foreign key constraint "
       "\"collections_project_id_connection_id_fkey\""},
      {"a transaction on a group of another project", kTransaction, {"t1", "e1", "g2"},
       "23503: insert or update on table \"transactions\" violates foreign key constraint "
       "\"transactions_project_id_group_id_fkey\""},
  };
  insert(kGroup, {"g2", "p2", "second"});
  insert(kGroup, {"g3", "p3", "third"});
  insert(kExecution, {"e1"});
  for (const Case& c : cases) EXPECT_EQ(outcome(db(), c.sql, c.params), c.outcome) << c.what;

  EXPECT_EQ(query_value(db(),
                        "SELECT string_agg(conrelid::regclass || ' ' || pg_get_constraintdef(oid), '; ' "
                        "ORDER BY conrelid::regclass::text, conname) FROM pg_constraint "
                        "WHERE contype = 'f' AND confrelid IN ('groups'::regclass, 'connections'::regclass)"),
            "collections FOREIGN KEY (project_id, connection_id) REFERENCES connections(project_id, id) "
            "ON UPDATE RESTRICT ON DELETE RESTRICT; "
            "collections FOREIGN KEY (project_id, group_id) REFERENCES groups(project_id, id) "
            "ON UPDATE RESTRICT ON DELETE RESTRICT; "
            "logical_function_runs FOREIGN KEY (project_id, group_id) REFERENCES groups(project_id, id) "
            "ON UPDATE RESTRICT ON DELETE RESTRICT; "
            "logical_table_data_versions FOREIGN KEY (project_id, group_id) REFERENCES groups(project_id, id) "
            "ON UPDATE RESTRICT ON DELETE RESTRICT; "
            "transactions FOREIGN KEY (project_id, group_id) REFERENCES groups(project_id, id) "
            "ON UPDATE RESTRICT ON DELETE RESTRICT");
}

TEST_F(V4BaselineTest, RoleAndProjectNamesAreUniqueColumns) {
  const char* project =
      "INSERT INTO projects (id, name, description, base_path, created_on, created_by_id, modified_on, "
      "modified_by_id, name_when_deleted) VALUES ($1, 'p', '', '', now(), 'u', now(), 'u', $2)";
  EXPECT_EQ(outcome(db(), project, {"p1", connection::Null{}}), "ok");
  // The name stays taken after deletion, which keeps it in "name_when_deleted".
  EXPECT_EQ(outcome(db(), "UPDATE projects SET name_when_deleted = name WHERE id = 'p1'"), "ok");
  EXPECT_EQ(outcome(db(), project, {"p2", connection::Null{}}),
            "23505: duplicate key value violates unique constraint \"projects_name_key\"");
  EXPECT_EQ(outcome(db(),
                    "INSERT INTO roles (id, name, description, created_on, created_by_id, modified_on, "
                    "modified_by_id, kind, fixed) VALUES ('r1', 'sys_admin', '', now(), 'u', now(), 'u', 'k', false)"),
            "23505: duplicate key value violates unique constraint \"roles_name_key\"");
  EXPECT_EQ(query_value(db(), "SELECT string_agg(conname || ' ' || pg_get_constraintdef(oid), '; ' ORDER BY conname) "
                              "FROM pg_constraint WHERE contype = 'u' AND connamespace = 'qv_apiserver'::regnamespace"),
            "projects_name_key UNIQUE (name); roles_name_key UNIQUE (name); "
            "sessions_refresh_token_id_key UNIQUE (refresh_token_id); users_email_key UNIQUE (email); "
            "users_name_key UNIQUE (name)");
}

TEST_F(V4BaselineTest, TerminalRunStatusesAreSticky) {
  struct Case {
    const char* from;
    const char* to;
    std::string outcome;
  };
  const std::string sticky = "P0001: logical_function_runs.status is sticky in terminal state";
  const Case cases[] = {
      {"C", "R", sticky}, {"X", "C", sticky}, {"Y", "S", sticky}, {"C", "C", "ok"},
      {"R", "C", "ok"},   {"S", "R", "ok"},   {"F", "R", "ok"},   {"D", "S", "ok"},
  };
  execution_with_runs("e1", {});
  for (const Case& c : cases) {
    const std::string run = std::string("run_") + c.from + c.to;
    insert(kRun, {run, "e1", "e1", c.from});
    EXPECT_EQ(outcome(db(), "UPDATE logical_function_runs SET status = $2 WHERE id = $1", {run, c.to}), c.outcome)
        << c.from << " to " << c.to;
  }
}

TEST_F(V4BaselineTest, GlobalSummaryOfNoRuns) {
  EXPECT_EQ(query_value(db(), "SELECT status || ' ' || finished || ' ' || function_run_status_count "
                              "FROM global_status_summary"),
            "S true {}");
  EXPECT_EQ(query_value(db(), "SELECT count(*) FROM global_status_summary"), "1");
}

TEST_F(V4BaselineTest, SummaryLaddersOfExecutionsAndTransactions) {
  struct Case {
    std::vector<std::string> statuses;
    std::string execution;    // ladder A: status, finished, counts
    std::string transaction;  // ladder B
  };
  const Case cases[] = {
      {{}, "S false {}", "S false {}"},
      {{"S"}, "S false {\"S\": 1}", "S false {\"S\": 1}"},
      {{"C", "X"}, "F true {\"C\": 1, \"X\": 1}", "U true {\"C\": 1, \"X\": 1}"},
      {{"C", "C"}, "F true {\"C\": 2}", "C true {\"C\": 2}"},
      {{"X"}, "F true {\"X\": 1}", "X true {\"X\": 1}"},
      {{"Y"}, "F true {\"Y\": 1}", "Y true {\"Y\": 1}"},
      {{"C", "F"}, "L false {\"C\": 1, \"F\": 1}", "U false {\"C\": 1, \"F\": 1}"},
      {{"D", "H"}, "L false {\"D\": 1, \"H\": 1}", "L false {\"D\": 1, \"H\": 1}"},
      {{"R", "R", "S"}, "R false {\"R\": 2, \"S\": 1}", "R false {\"R\": 2, \"S\": 1}"},
      {{"C", "E"}, "R false {\"C\": 1, \"E\": 1}", "R false {\"C\": 1, \"E\": 1}"},
      {{"C", "F", "X"}, "U false {\"C\": 1, \"F\": 1, \"X\": 1}", "U false {\"C\": 1, \"F\": 1, \"X\": 1}"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string id = std::string("e").append(std::to_string(i));
    execution_with_runs(id, cases[i].statuses);
  }
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string id = std::string("e").append(std::to_string(i));
    SCOPED_TRACE(id);
    EXPECT_EQ(query_value(db(),
                          "SELECT status || ' ' || finished || ' ' || function_run_status_count "
                          "FROM execution_status_summary WHERE execution_id = $1",
                          {id}),
              cases[i].execution);
    EXPECT_EQ(query_value(db(),
                          "SELECT status || ' ' || finished || ' ' || function_run_status_count "
                          "FROM transaction_status_summary WHERE transaction_id = $1",
                          {id}),
              cases[i].transaction);
  }
}

TEST_F(V4BaselineTest, WithStatusViewsShowTheEndOnlyOnceFinished) {
  struct Case {
    const char* what;
    const char* id;
    std::vector<std::string> statuses;
    bool with_attempt;
    std::string span;  // started_on, ended_on
  };
  const Case cases[] = {
      {"no attempts", "e1", {"R"}, false, "NULL NULL"},
      {"not finished, one attempt ended", "e2", {"R"}, true, "2024-01-01 NULL"},
      {"finished", "e3", {"C"}, true, "2024-01-01 2024-01-02"},
      {"no runs", "e4", {}, false, "NULL NULL"},
  };
  for (const Case& c : cases) {
    execution_with_runs(c.id, c.statuses);
    if (c.with_attempt) {
      insert(kAttempt, {std::string(c.id) + "_run0", c.id, c.id, "2024-01-01 00:00:00+00", "2024-01-02 00:00:00+00"});
    }
  }
  for (const char* view : {"executions__with_status", "transactions__with_status"}) {
    for (const Case& c : cases) {
      EXPECT_EQ(query_value(db(),
                            std::string("SELECT coalesce((started_on AT TIME ZONE 'UTC')::date::text, 'NULL') || ' ' "
                                        "|| coalesce((ended_on AT TIME ZONE 'UTC')::date::text, 'NULL') FROM ") +
                                view + " WHERE id = $1",
                            {c.id}),
                c.span)
          << view << ": " << c.what;
    }
  }
}

}  // namespace
}  // namespace schema::archive::v4
