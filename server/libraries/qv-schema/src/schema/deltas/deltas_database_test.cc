#include <gtest/gtest.h>

#include <set>

#include "connection/savepoint.h"
#include "connection/transaction.h"
#include "schema/deltas/deltas.h"
#include "test_support/session_fixture.h"

namespace schema::deltas {
namespace {

using DeltasOnServer = ::test_support::SessionFixture;

// What an empty schema may answer to a statement written for another
// schema: a missing table, column, object or function.
const std::set<std::string> kMissingObject = {"42P01", "42703", "42704", "42883"};

// Every text of every step runs on an empty schema, each in a savepoint of
// its own: the server parses it in full, and a syntax error (42601) or any
// fault but a missing object fails.
TEST_F(DeltasOnServer, EveryTextParsesOnAnEmptySchema) {
  auto transaction = connection::Transaction::begin(session());
  ASSERT_TRUE(transaction) << connection::describe(transaction.error());
  for (source::Version target = kFirstTarget; target <= kLastTarget; ++target) {
    const auto delta = get(target);
    ASSERT_TRUE(delta.has_value()) << delta.error();
    std::vector<std::string> texts = delta->retired;
    texts.insert(texts.end(), delta->up.begin(), delta->up.end());
    for (const std::string& text : texts) {
      auto savepoint = connection::Savepoint::open(session());
      ASSERT_TRUE(savepoint) << connection::describe(savepoint.error());
      auto done = session().execute_script(text);
      if (!done) {
        EXPECT_TRUE(kMissingObject.contains(done.error().sqlstate))
            << "step " << target << ": " << connection::describe(done.error()) << "\nin: " << text;
      }
      auto undone = savepoint->rollback();
      ASSERT_TRUE(undone) << connection::describe(undone.error());
    }
  }
}

// The start columns of the seven versioned tables, NOT NULL as version 5
// had them; "tables" carries a named NOT NULL constraint as PostgreSQL 18
// names them, which PostgreSQL 15 has not.
class StepSixOnServer : public DeltasOnServer {
 protected:
  void SetUp() override {
    DeltasOnServer::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run("CREATE TABLE quorvale_system (name text PRIMARY KEY, value text)");
    run("INSERT INTO quorvale_system VALUES ('db_version', '5')");
    for (const char* table : {"functions", "function_patches", "tables", "dependencies", "triggers"}) {
      run(std::string("CREATE TABLE ") + table + " (id text PRIMARY KEY, defined_on timestamptz NOT NULL)");
    }
    for (const char* table : {"physical_function_runs", "physical_table_data_versions"}) {
      run(std::string("CREATE TABLE ") + table + " (id text PRIMARY KEY, triggered_on timestamptz NOT NULL)");
    }
    run("ALTER TABLE tables ADD CONSTRAINT tables_defined_on_not_null CHECK (defined_on IS NOT NULL)");
  }
};

TEST_F(StepSixOnServer, RenamesColumnsAndTheConstraintsThatExist) {
  const auto delta = get(6);
  ASSERT_TRUE(delta.has_value());
  run(delta->up);
  EXPECT_EQ(value("SELECT string_agg(table_name || '.' || column_name, ',' ORDER BY table_name) FROM "
                  "information_schema.columns WHERE table_schema = current_schema() AND column_name = 'valid_from' "
                  "AND is_nullable = 'NO'"),
            "dependencies.valid_from,function_patches.valid_from,functions.valid_from,"
            "physical_function_runs.valid_from,physical_table_data_versions.valid_from,tables.valid_from,"
            "triggers.valid_from");
  EXPECT_EQ(value("SELECT string_agg(conname, ',') FROM pg_constraint WHERE conname LIKE '%not_null'"),
            "tables_valid_from_not_null");
  EXPECT_EQ(value("SELECT value FROM quorvale_system WHERE name = 'db_version'"), "6");
}

TEST_F(StepSixOnServer, AnUnguardedRenameFailsWhereTheServerHasNoNamedConstraint) {
  if (value("SHOW server_version_num") >= "180000") GTEST_SKIP() << "the server names NOT NULL constraints";
  auto renamed = session().execute_script(
      R"sql(ALTER TABLE "functions" RENAME CONSTRAINT "functions_defined_on_not_null" )sql"
      R"sql(TO "functions_valid_from_not_null")sql");
  ASSERT_FALSE(renamed);
  EXPECT_EQ(renamed.error().sqlstate, "42704");
}

// The twelve tables of step 8 with their identifier columns as text, two of
// the foreign keys between them and the placeholder default of the runs.
class StepEightOnServer : public DeltasOnServer {
 protected:
  void SetUp() override {
    DeltasOnServer::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run("CREATE TABLE quorvale_system (name text PRIMARY KEY, value text)");
    run({
        "CREATE TABLE executions (id text PRIMARY KEY, function_version_id text NOT NULL)",
        "CREATE TABLE function_patches (id text PRIMARY KEY, parent_function_version_id text NOT NULL)",
        "CREATE TABLE functions (id text PRIMARY KEY)",
        "CREATE TABLE logical_function_run_inputs (execution_id text, transaction_id text, "
        "logical_function_run_id text, requirement_logical_table_data_version_id text)",
        "CREATE TABLE logical_function_runs (id text PRIMARY KEY, execution_id text, transaction_id text, "
        "function_version_id text NOT NULL DEFAULT '')",
        "CREATE TABLE logical_table_data_versions (id text PRIMARY KEY, execution_id text, transaction_id text, "
        "producer_logical_function_run_id text)",
        "CREATE TABLE physical_function_runs (id text PRIMARY KEY, function_version_id text, "
        "function_version_patch_id text, execution_id text, transaction_id text, logical_function_run_id text)",
        "CREATE TABLE physical_table_data_versions (id text PRIMARY KEY, function_version_id text, "
        "function_version_patch_id text, execution_id text, transaction_id text, physical_function_run_id text, "
        "logical_table_data_version_id text, with_data_table_data_version_id text)",
        "CREATE TABLE table_partitions (function_version_id text, table_data_version_id text)",
        "CREATE TABLE tables (function_version_id text)",
        "CREATE TABLE transactions (id text PRIMARY KEY, execution_id text NOT NULL REFERENCES executions (id))",
        "CREATE TABLE workers (id text PRIMARY KEY, execution_id text REFERENCES executions (id), "
        "transaction_id text REFERENCES transactions (id), function_version_id text, "
        "physical_function_run_id text)",
    });
  }
};

TEST_F(StepEightOnServer, IdentifiersBecomeNumbersAndTheKeysComeBack) {
  run({
      "INSERT INTO executions VALUES ('ab-12', 'fv-7'), ('x-2024-05', 'fv-8')",
      "INSERT INTO transactions VALUES ('t-3', 'ab-12')",
      "INSERT INTO workers VALUES ('w-1', 'ab-12', 't-3', 'fv-7', NULL), ('w-2', NULL, NULL, 'fv-7', 'none')",
      "INSERT INTO logical_function_runs VALUES ('r-1', 'ab-12', 't-3', ''), ('r-2', 'ab-12', 't-3', 'fv-9')",
  });
  const auto delta = get(8);
  ASSERT_TRUE(delta.has_value());
  auto transaction = connection::Transaction::begin(session());
  ASSERT_TRUE(transaction) << connection::describe(transaction.error());
  run(delta->up);
  ASSERT_TRUE(transaction->commit());

  EXPECT_EQ(value("SELECT string_agg(id || '/' || function_version_id, ',' ORDER BY id) FROM executions"),
            "12/7,202405/8");
  EXPECT_EQ(value("SELECT string_agg(id || '/' || coalesce(physical_function_run_id::text, 'NULL'), ',' "
                  "ORDER BY id) FROM workers"),
            "1/NULL,2/NULL");
  EXPECT_EQ(value("SELECT string_agg(id || '/' || function_version_id, ',' ORDER BY id) FROM logical_function_runs"),
            "1/197001010000000001,2/9");
  EXPECT_EQ(value("SELECT pg_get_expr(adbin, adrelid) FROM pg_attrdef "
                  "WHERE adrelid = 'logical_function_runs'::regclass"),
            "'197001010000000001'::bigint");
  EXPECT_EQ(value("SELECT count(*) FROM information_schema.columns WHERE table_schema = current_schema() AND "
                  "column_name LIKE '%id' AND data_type = 'text'"),
            "0");
  EXPECT_EQ(value("SELECT string_agg(conrelid::regclass || ':' || pg_get_constraintdef(oid), ', ' ORDER BY conname) "
                  "FROM pg_constraint WHERE contype = 'f'"),
            "transactions:FOREIGN KEY (execution_id) REFERENCES executions(id), "
            "workers:FOREIGN KEY (execution_id) REFERENCES executions(id), "
            "workers:FOREIGN KEY (transaction_id) REFERENCES transactions(id)");
  EXPECT_EQ(value("SELECT to_regclass('qv_v8_foreign_keys') IS NULL"), "t");
}

// Two projects that share the three system groups, each with a custom group
// and rows in every table that names a group.
// Projects whose ids differ in their last character only.
constexpr const char* kProjectA = "0123456789012345678901234A";
constexpr const char* kProjectB = "0123456789012345678901234B";
constexpr const char* kProjectC = "0123456789012345678901234C";

class StepNineOnServer : public DeltasOnServer {
 protected:
  void SetUp() override {
    DeltasOnServer::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run({
        "CREATE TABLE quorvale_system (name text PRIMARY KEY, value text)",
        "CREATE TABLE groups (project_id text, id text, PRIMARY KEY (project_id, id))",
        "CREATE TABLE connections (project_id text, id text, PRIMARY KEY (project_id, id))",
        "CREATE TABLE collections (project_id text, id text PRIMARY KEY, group_id text, connection_id text, "
        "FOREIGN KEY (project_id, group_id) REFERENCES groups (project_id, id), "
        "FOREIGN KEY (project_id, connection_id) REFERENCES connections (project_id, id))",
    });
    for (const char* table : {"logical_function_runs", "logical_table_data_versions", "transactions"}) {
      run(std::string("CREATE TABLE ") + table +
          " (project_id text, id text PRIMARY KEY, group_id text, "
          "FOREIGN KEY (project_id, group_id) REFERENCES groups (project_id, id))");
    }
    run({
        "INSERT INTO groups VALUES ('0123456789012345678901234B', '00000000000000000000000208'), "
        "('0123456789012345678901234B', '0000000000000000000000020c'), "
        "('0123456789012345678901234B', '0000000000000000000000020g'), "
        "('0123456789012345678901234A', '00000000000000000000000208'), "
        "('0123456789012345678901234A', '0000000000000000000000020g'), "
        "('0123456789012345678901234A', 'custom-a')",
        "INSERT INTO connections VALUES ('0123456789012345678901234A', 'k-a'), ('0123456789012345678901234B', 'k-b')",
        "INSERT INTO collections VALUES ('0123456789012345678901234A', 'c-a', '00000000000000000000000208', 'k-a'), "
        "('0123456789012345678901234B', 'c-b', '0000000000000000000000020c', 'k-b')",
        "INSERT INTO logical_function_runs VALUES ('0123456789012345678901234A', 'r-a', 'custom-a'), "
        "('0123456789012345678901234B', 'r-b', '0000000000000000000000020g')",
        "INSERT INTO logical_table_data_versions VALUES ('0123456789012345678901234B', 'v-b', "
        "'00000000000000000000000208')",
        "INSERT INTO transactions VALUES ('0123456789012345678901234A', 't-a', '0000000000000000000000020g'), "
        "('0123456789012345678901234B', 't-b', '0000000000000000000000020g')",
    });
  }

  // The statements of the step to version 9 as one script; empty when there
  // is no such step.
  static std::string step_nine() {
    std::string step;
    if (const auto delta = get(9)) {
      for (const std::string& text : delta->up) step += text + ";\n";
    }
    return step;
  }
};

TEST_F(StepNineOnServer, TheSmallestProjectKeepsTheSharedIdsTheOthersGetTheirOwn) {
  const auto delta = get(9);
  ASSERT_TRUE(delta.has_value());
  run(delta->up);
  EXPECT_EQ(value("SELECT string_agg(right(project_id, 1) || ':' || id || ':' || kind, ',' ORDER BY project_id, id) "
                  "FROM groups"),
            "A:00000000000000000000000208:default,A:0000000000000000000000020g:destinations,A:custom-a:custom,"
            "B:01234567890123456789012344:default,B:01234567890123456789012348:sources,"
            "B:0123456789012345678901234c:destinations");
  EXPECT_EQ(value("SELECT string_agg(id || ':' || group_id, ',' ORDER BY id) FROM collections"),
            "c-a:00000000000000000000000208,c-b:01234567890123456789012348");
  EXPECT_EQ(value("SELECT string_agg(id || ':' || group_id, ',' ORDER BY id) FROM logical_function_runs"),
            "r-a:custom-a,r-b:0123456789012345678901234c");
  EXPECT_EQ(value("SELECT group_id FROM logical_table_data_versions"), "01234567890123456789012344");
  EXPECT_EQ(value("SELECT string_agg(id || ':' || group_id, ',' ORDER BY id) FROM transactions"),
            "t-a:0000000000000000000000020g,t-b:0123456789012345678901234c");
  EXPECT_EQ(value("SELECT string_agg(conrelid::regclass || ':' || pg_get_constraintdef(oid), ', ' "
                  "ORDER BY conrelid::regclass::text, conname) FROM pg_constraint WHERE contype IN ('f', 'p') AND "
                  "connamespace = current_schema()::regnamespace"),
            "collections:FOREIGN KEY (connection_id) REFERENCES connections(id) ON UPDATE RESTRICT ON DELETE "
            "RESTRICT, collections:FOREIGN KEY (group_id) REFERENCES groups(id) ON UPDATE RESTRICT ON DELETE "
            "RESTRICT, collections:PRIMARY KEY (id), connections:PRIMARY KEY (id), groups:PRIMARY KEY (id), "
            "logical_function_runs:FOREIGN KEY (group_id) REFERENCES groups(id) ON UPDATE RESTRICT ON DELETE "
            "RESTRICT, logical_function_runs:PRIMARY KEY (id), logical_table_data_versions:FOREIGN KEY (group_id) "
            "REFERENCES groups(id) ON UPDATE RESTRICT ON DELETE RESTRICT, logical_table_data_versions:PRIMARY KEY "
            "(id), quorvale_system:PRIMARY KEY (name), transactions:FOREIGN KEY (group_id) REFERENCES groups(id) "
            "ON UPDATE RESTRICT ON DELETE RESTRICT, transactions:PRIMARY KEY (id)");
}

// The step's first statement stops it while two groups would hold one id
// once the shared groups are renumbered, naming each id and its holders.
TEST_F(StepNineOnServer, TwoGroupsThatWouldHoldOneIdStopTheStepBeforeAnyChange) {
  const std::string step = step_nine();
  ASSERT_FALSE(step.empty());
  const std::string a = kProjectA, b = kProjectB, c = kProjectC;
  const std::string refusal =
      "Group ids must be unique once each project has system groups of its own; give the other groups of each id "
      "another id or delete them, then upgrade again: ";
  const struct {
    const char* layout;
    std::string groups;
    std::string message;
  } cases[] = {
      {"another project's group holds a new id", "('" + a + "', '01234567890123456789012344')",
       refusal + "01234567890123456789012344: custom group of project " + a + ", default group of project " + b},
      {"the project's own group holds one", "('" + b + "', '0123456789012345678901234c')",
       refusal + "0123456789012345678901234c: custom group of project " + b + ", destinations group of project " + b},
      {"a third project alike in its first 25 characters", "('" + c + "', '00000000000000000000000208')",
       refusal + "01234567890123456789012344: default group of project " + b + ", default group of project " + c},
      {"a custom id in two projects", "('" + b + "', 'custom-a')",
       refusal + "custom-a: custom group of project " + a + ", custom group of project " + b},
      {"every collision, by id",
       "('" + a + "', '01234567890123456789012344'), ('" + c + "', '00000000000000000000000208'), ('" + b +
           "', '0123456789012345678901234c'), ('" + b + "', 'custom-a')",
       refusal + "01234567890123456789012344: custom group of project " + a + ", default group of project " + b +
           ", default group of project " + c + "; 0123456789012345678901234c: custom group of project " + b +
           ", destinations group of project " + b + "; custom-a: custom group of project " + a +
           ", custom group of project " + b},
  };
  const std::string groups = "SELECT string_agg(project_id || ':' || id, ',' ORDER BY project_id, id) FROM groups";
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.layout);
    run("INSERT INTO groups VALUES " + test_case.groups);
    const std::string before = value(groups);
    EXPECT_EQ(outcome(step), test_case.message);
    EXPECT_EQ(value(groups), before);
    EXPECT_EQ(value("SELECT count(*) FROM pg_attribute WHERE attrelid = 'groups'::regclass AND attname = 'kind'"),
              "0");
    run("DELETE FROM groups WHERE (project_id, id) IN (VALUES " + test_case.groups + ")");
  }
}

// At version 4 a connection is keyed by its project and id, and two
// projects may each hold a connection of one id; the step keys connections
// by their id alone, so its first statement stops it, naming each such id
// and its projects.
TEST_F(StepNineOnServer, AConnectionIdThatTwoProjectsHoldStopsTheStepBeforeAnyChange) {
  const std::string step = step_nine();
  ASSERT_FALSE(step.empty());
  const std::string a = kProjectA, b = kProjectB, c = kProjectC;
  const std::string refusal =
      "Connection ids must be unique across projects once connections are keyed by their id alone; give the other "
      "connections of each id another id or delete them, then upgrade again: ";
  const struct {
    const char* layout;
    std::string connections;
    std::string message;
  } cases[] = {
      {"another project holds a project's id", "('" + b + "', 'k-a')", refusal + "k-a: projects " + a + ", " + b},
      {"three projects, two ids", "('" + c + "', 'k-a'), ('" + a + "', 'k-b'), ('" + c + "', 'k-b')",
       refusal + "k-a: projects " + a + ", " + c + "; k-b: projects " + a + ", " + b + ", " + c},
  };
  const std::string connections =
      "SELECT string_agg(project_id || ':' || id, ',' ORDER BY project_id, id) FROM connections";
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.layout);
    run("INSERT INTO connections VALUES " + test_case.connections);
    const std::string before = value(connections);
    EXPECT_EQ(outcome(step), test_case.message);
    EXPECT_EQ(value(connections), before);
    EXPECT_EQ(value("SELECT count(*) FROM pg_attribute WHERE attrelid = 'groups'::regclass AND attname = 'kind'"), "0");
    run("DELETE FROM connections WHERE (project_id, id) IN (VALUES " + test_case.connections + ")");
  }
  // Without them the step runs.
  EXPECT_EQ(outcome(step), "ok");
}

// The step runs with the home schema on the search path, where the owner
// may create a format that matches the check's call better than
// pg_catalog's, and that would run as the upgrade's login.
TEST_F(StepNineOnServer, TheFirstStatementCallsOnlyFunctionsOfPgCatalog) {
  const auto delta = get(9);
  ASSERT_TRUE(delta.has_value());
  run("CREATE FUNCTION public.format(text, text, text) RETURNS text LANGUAGE plpgsql AS $$ BEGIN "
      "RAISE EXCEPTION 'planted format ran as %', current_user; END $$");
  const struct {
    const char* collision;
    std::string row;
    std::string message;
  } cases[] = {
      {"group", "INSERT INTO groups VALUES ('0123456789012345678901234B', 'custom-a')",
       "Group ids must be unique once each project has system groups of its own; give the other groups of each id "
       "another id or delete them, then upgrade again: custom-a: custom group of project 0123456789012345678901234A, "
       "custom group of project 0123456789012345678901234B"},
      {"connection", "INSERT INTO connections VALUES ('0123456789012345678901234B', 'k-a')",
       "Connection ids must be unique across projects once connections are keyed by their id alone; give the other "
       "connections of each id another id or delete them, then upgrade again: k-a: projects "
       "0123456789012345678901234A, 0123456789012345678901234B"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.collision);
    run("BEGIN; " + test_case.row);
    EXPECT_EQ(outcome(delta->up.front()), test_case.message);
    run("ROLLBACK");
  }
}

}  // namespace
}  // namespace schema::deltas
