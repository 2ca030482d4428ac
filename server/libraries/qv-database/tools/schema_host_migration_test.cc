// A version-4 database migrated through schema_host as a deployment runs it:
// the rows the steps convert, the schema compared with a fresh install, the
// guard that stops the step to version 13, and a client killed half way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <utility>
#include <vector>

#include "schema/archive/v4/baseline.h"
#include "schema_host_fixture.h"
#include "test_support/schema_dump.h"

namespace {

using schema_host_test::Finished;
using schema_host_test::Host;
using test_support::query_value;

constexpr const char* kMigrated = "{\"ok\":true,\"plan\":\"Migrate\",\"targets\":[5,6,7,8,9,10,11,12,13]}\n";

// Rows of a version-4 database for every step that converts data: text ids
// ('ab-12' becomes 12), a digit-less id in a nullable column ('none'), the
// shared system group 208 in two projects, finished and running attempts,
// a version without data of a running attempt, stopping CT workers, and runs
// whose statuses roll up to transactions R, C, X, S and executions R, F, S.
const std::vector<std::string> kVersionFourRows = {
    "INSERT INTO projects VALUES "
    " ('p0000000000000000000000001', 'one', '', '/p1', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', NULL), "
    " ('p0000000000000000000000002', 'two', '', '/p2', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', NULL)",
    "INSERT INTO groups VALUES "
    " ('00000000000000000000000208', 'p0000000000000000000000001', 'default', '', '2024-01-01Z', 'u-1', "
    "'2024-01-01Z', 'u-1', true), "
    " ('00000000000000000000000208', 'p0000000000000000000000002', 'default', '', '2024-01-01Z', 'u-1', "
    "'2024-01-01Z', 'u-1', true), "
    " ('g-custom', 'p0000000000000000000000001', 'mine', '', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', false)",
    "INSERT INTO collections (id, project_id, name, description, created_on, created_by_id, modified_on, "
    "modified_by_id, group_id, collection_type) VALUES "
    " ('c-1', 'p0000000000000000000000001', 'one', '', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', "
    "'00000000000000000000000208', 'R'), "
    " ('c-2', 'p0000000000000000000000002', 'two', '', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', "
    "'00000000000000000000000208', 'R')",
    "INSERT INTO functions (id, project_id, collection_id, name, description, decorator, runtime_values, "
    "function_id, stage_id, stage_base_path, storage_version, bundle_id, snippet, defined_on, "
    "defined_by_id, status, valid_to) VALUES "
    " ('fv-3', 'p0000000000000000000000001', 'c-1', 'load', '', 'P', '', 'f-1', 's', '/s', '1', 'b', '', "
    "'2024-01-01Z', 'u-1', 'A', 'infinity')",
    "INSERT INTO executions (id, project_id, collection_id, function_version_id, triggered_on, "
    "triggered_by_id) VALUES "
    " ('ex-1', 'p0000000000000000000000001', 'c-1', 'fv-3', '2024-05-01Z', 'u-1'), "
    " ('ex-2', 'p0000000000000000000000001', 'c-1', 'fv-3', '2024-05-01Z', 'u-1'), "
    " ('ex-3', 'p0000000000000000000000001', 'c-1', 'fv-3', '2024-05-01Z', 'u-1')",
    "INSERT INTO transactions VALUES "
    " ('tx-10', 'p0000000000000000000000001', 'c-1', 'ex-1', 'F', 'k', '2024-05-01Z', 'u-1', "
    "'00000000000000000000000208'), "
    " ('tx-20', 'p0000000000000000000000001', 'c-1', 'ex-2', 'F', 'k', '2024-05-01Z', 'u-1', 'g-custom'), "
    " ('tx-21', 'p0000000000000000000000001', 'c-1', 'ex-2', 'F', 'k', '2024-05-01Z', 'u-1', 'g-custom'), "
    " ('tx-30', 'p0000000000000000000000002', 'c-2', 'ex-3', 'F', 'k', '2024-05-01Z', 'u-1', "
    "'00000000000000000000000208')",
    "INSERT INTO logical_function_runs (id, project_id, collection_id, execution_id, transaction_id, "
    "function_id, function_version_id, trigger, triggered_on, triggered_by_id, status, group_id) VALUES "
    " ('ab-12', 'p0000000000000000000000001', 'c-1', 'ex-1', 'tx-10', 'f-1', 'fv-3', 'M', '2024-05-01Z', "
    "'u-1', 'R', '00000000000000000000000208'), "
    " ('lr-13', 'p0000000000000000000000001', 'c-1', 'ex-1', 'tx-10', 'f-2', 'fv-3', 'M', '2024-05-01Z', "
    "'u-1', 'C', '00000000000000000000000208'), "
    " ('lr-20', 'p0000000000000000000000001', 'c-1', 'ex-2', 'tx-20', 'f-1', 'fv-3', 'M', '2024-05-01Z', "
    "'u-1', 'C', 'g-custom'), "
    " ('lr-21', 'p0000000000000000000000001', 'c-1', 'ex-2', 'tx-21', 'f-2', 'fv-3', 'M', '2024-05-01Z', "
    "'u-1', 'X', 'g-custom'), "
    " ('lr-30', 'p0000000000000000000000002', 'c-2', 'ex-3', 'tx-30', 'f-1', DEFAULT, 'M', "
    "'2024-05-01Z', 'u-1', 'S', '00000000000000000000000208')",
    "INSERT INTO physical_function_runs (id, project_id, collection_id, function_version_id, "
    "execution_id, transaction_id, triggered_on, triggered_by_id, trigger, started_on, ended_on, status, "
    "metric_table_versions, metric_rows, metric_data_bytes, base_path, logical_function_run_id, valid_to) VALUES "
    " ('pr-100', 'p0000000000000000000000001', 'c-1', 'fv-3', 'ex-1', 'tx-10', '2024-05-01 08:00Z', "
    "'u-1', 'M', '2024-05-01 08:00Z', '2024-05-01 08:30Z', 'F', 1, 7, 70, '/r', 'ab-12', '2024-05-01 09:00Z'), "
    " ('pr-101', 'p0000000000000000000000001', 'c-1', 'fv-3', 'ex-1', 'tx-10', '2024-05-01 09:00Z', "
    "'u-1', 'M', '2024-05-01 09:00Z', NULL, 'R', NULL, NULL, NULL, '/r', 'ab-12', 'infinity'), "
    " ('pr-130', 'p0000000000000000000000001', 'c-1', 'fv-3', 'ex-1', 'tx-10', '2024-05-01 08:00Z', "
    "'u-1', 'M', '2024-05-01 08:00Z', '2024-05-01 08:40Z', 'D', 1, 10, 100, '/r', 'lr-13', 'infinity'), "
    " ('pr-200', 'p0000000000000000000000001', 'c-1', 'fv-3', 'ex-2', 'tx-20', '2024-05-02 01:00Z', "
    "'u-1', 'M', '2024-05-02 01:00Z', '2024-05-02 02:00Z', 'D', 0, 0, 0, '/r', 'lr-20', 'infinity'), "
    " ('pr-210', 'p0000000000000000000000001', 'c-1', 'fv-3', 'ex-2', 'tx-21', '2024-05-02 01:30Z', "
    "'u-1', 'M', '2024-05-02 01:30Z', '2024-05-02 03:00Z', 'X', 0, 0, 0, '/r', 'lr-21', 'infinity')",
    "INSERT INTO logical_table_data_versions VALUES "
    " ('lv-500', 'p0000000000000000000000001', 'c-1', 'ex-1', 'tx-10', 't-1', 'lr-13', 0, false, "
    "'2024-05-01 08:00Z', 'u-1', '00000000000000000000000208'), "
    " ('lv-501', 'p0000000000000000000000001', 'c-1', 'ex-1', 'tx-10', 't-2', 'ab-12', 0, false, "
    "'2024-05-01 09:00Z', 'u-1', '00000000000000000000000208')",
    "INSERT INTO physical_table_data_versions (id, project_id, collection_id, table_id, name, "
    "table_version_id, function_version_id, has_data, row_count, data_bytes, execution_id, "
    "transaction_id, physical_function_run_id, function_param_pos, with_data_table_data_version_id, "
    "triggered_on, base_path, logical_table_data_version_id, valid_to) VALUES "
    " ('pv-5000', 'p0000000000000000000000001', 'c-1', 't-1', 'out', 'tv-1', 'fv-3', true, 10, 100, "
    "'ex-1', 'tx-10', 'pr-130', 0, NULL, '2024-05-01 08:40Z', '/t', 'lv-500', 'infinity'), "
    " ('pv-5001', 'p0000000000000000000000001', 'c-1', 't-2', 'out', 'tv-2', 'fv-3', NULL, NULL, NULL, "
    "'ex-1', 'tx-10', 'pr-101', 0, 'none', '2024-05-01 09:00Z', '/t', 'lv-501', 'infinity')",
    "INSERT INTO workers (id, project_id, collection_id, function_version_id, message_status, status, "
    "worker_type, worker_enabled) VALUES "
    " ('w-1', 'p0000000000000000000000001', 'c-1', 'fv-3', 'M', 'SPS', 'CT', false), "
    " ('w-2', 'p0000000000000000000000001', 'c-1', 'fv-3', 'M', 'SPS', 'CT', true)",
};

// Version 13 drops four of the seven metric columns of the version-4
// physical runs; these three stay, with their data, and so do the columns
// that the view of current physical runs selects from them. This is the only
// difference allowed between a migrated schema and a fresh install.
constexpr const char* kKeptMetricColumns = "'metric_table_versions', 'metric_rows', 'metric_data_bytes'";
constexpr const char* kKeptInViews = "'\\s*physical_function_runs\\.metric_(table_versions|rows|data_bytes),'";

// Catalog queries over the home schema, each giving one text; the kept
// metric columns are left out (@KEPT@, @KEPT_IN_VIEWS@). Positions count the
// live columns in order.
const std::vector<std::pair<std::string, std::string>> kCatalog = {
    {"columns",
     "SELECT string_agg(concat_ws(' ', relname, pos, attname, typ, coalesce(coll, '-'), attnotnull, "
     "coalesce(default_value, '-')), E'\\n' ORDER BY relname, pos) FROM (SELECT c.relname, row_number() OVER "
     "(PARTITION BY c.oid ORDER BY a.attnum) AS pos, a.attname, format_type(a.atttypid, a.atttypmod) AS typ, "
     "co.collname AS coll, a.attnotnull, pg_get_expr(d.adbin, d.adrelid) AS default_value FROM pg_attribute a "
     "JOIN pg_class c ON c.oid = a.attrelid LEFT JOIN pg_collation co ON co.oid = a.attcollation LEFT JOIN "
     "pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum WHERE c.relnamespace = "
     "'qv_apiserver'::regnamespace AND c.relkind IN ('r', 'p', 'v') AND a.attnum > 0 AND NOT a.attisdropped AND "
     "NOT (a.attname IN (@KEPT@) AND c.relname LIKE 'physical_function_runs%')) AS live"},
    {"indexes",
     "SELECT string_agg(indexdef, E'\\n' ORDER BY indexname) FROM pg_indexes WHERE schemaname = 'qv_apiserver'"},
    {"constraints",
     "SELECT string_agg(concat_ws(' ', conrelid::regclass, conname, contype, pg_get_constraintdef(oid)), E'\\n' "
     "ORDER BY conrelid::regclass::text, conname) FROM pg_constraint WHERE connamespace = "
     "'qv_apiserver'::regnamespace"},
    {"policies",
     "SELECT string_agg(concat_ws(' ', tablename, policyname, permissive, roles, cmd, qual, with_check), E'\\n' "
     "ORDER BY tablename, policyname) FROM pg_policies WHERE schemaname = 'qv_apiserver'"},
    {"row-level security",
     "SELECT string_agg(concat_ws(' ', relname, relrowsecurity, relforcerowsecurity), E'\\n' ORDER BY relname) "
     "FROM pg_class WHERE relnamespace = 'qv_apiserver'::regnamespace AND relkind = 'r'"},
    {"triggers",
     "SELECT string_agg(pg_get_triggerdef(t.oid), E'\\n' ORDER BY c.relname, t.tgname) FROM pg_trigger t JOIN "
     "pg_class c ON c.oid = t.tgrelid WHERE c.relnamespace = 'qv_apiserver'::regnamespace AND NOT t.tgisinternal"},
    {"trigger functions",
     "SELECT string_agg(pg_get_functiondef(oid), E'\\n' ORDER BY proname) FROM pg_proc WHERE pronamespace = "
     "'qv_apiserver'::regnamespace"},
    {"views",
     "SELECT string_agg(viewname || ': ' || regexp_replace(definition, @KEPT_IN_VIEWS@, '', 'g'), E'\\n' ORDER BY "
     "viewname) FROM pg_views WHERE schemaname = 'qv_apiserver'"},
    {"statistics",
     "SELECT string_agg(pg_get_statisticsobjdef(oid), E'\\n' ORDER BY stxname) FROM pg_statistic_ext WHERE "
     "stxnamespace = 'qv_apiserver'::regnamespace"},
};

std::string with_allowance(std::string query) {
  for (const auto& [name, text] : {std::pair{"@KEPT@", kKeptMetricColumns}, {"@KEPT_IN_VIEWS@", kKeptInViews}}) {
    const std::string marker(name);
    for (std::size_t at; (at = query.find(marker)) != std::string::npos;) query.replace(at, marker.size(), text);
  }
  return query;
}

class MigrationFromVersionFour : public schema_host_test::SchemaHostFixture {
 protected:
  void TearDown() override {
    if (fresh_created_) {
      auto server = connection::connect(server_conninfo());
      if (server) (void)server->execute_script("DROP DATABASE IF EXISTS " + fresh_name() + " WITH (FORCE)");
    }
    SchemaHostFixture::TearDown();
  }

  // The provisioned schema with the version-4 install and its rows, in one
  // transaction, as a version-4 deployment left it.
  void version_four(const std::vector<std::string>& more_rows = {}) {
    Finished provisioned = host(provision_args(conninfo()));
    ASSERT_EQ(provisioned.status, 0) << provisioned.err;
    std::string script = "BEGIN;\n";
    for (const auto& texts : {schema::archive::v4::v4_install_texts(), kVersionFourRows, more_rows}) {
      for (const std::string& text : texts) script += text + ";\n";
    }
    ASSERT_NO_FATAL_FAILURE(run(script + "COMMIT"));
  }

  // The upgrade of the version-4 database fails with `refusal`, and neither
  // the schema nor the rows of `table` change.
  void expect_upgrade_refused(const std::string& table, const std::string& refusal) {
    const std::string rows =
        "SELECT string_agg(project_id || ' ' || id, ', ' ORDER BY project_id, id) FROM " + table;
    const std::string before = whole_state() + " / " + value(rows);
    Finished refused = host(upgrade_args(conninfo()));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::HasSubstr(refusal));
    EXPECT_EQ(value("SELECT value FROM quorvale_system WHERE name = 'db_version'"), "4");
    EXPECT_EQ(whole_state() + " / " + value(rows), before);
  }

  std::string fresh_name() const { return database_name() + "_fresh"; }

  // A second database of this test, provisioned and installed at version 13
  // through schema_host as a deployment of its own: provisioning and the
  // upgrade refuse roles that serve another database, so its owner and RLS
  // roles are its own (fresh_role names them).
  std::string fresh_install() {
    auto server = connection::connect(server_conninfo());
    EXPECT_TRUE(server) << connection::describe(server.error());
    if (!server) return {};
    EXPECT_TRUE(server->execute_script("CREATE DATABASE " + fresh_name()));
    fresh_created_ = true;
    const std::string fresh = conninfo_with({{"dbname", fresh_name()}});
    std::vector<std::string> provision = with_option(provision_args(fresh), "--owner", fresh_role(owner()));
    std::vector<std::string> upgrade = upgrade_args(fresh);
    for (const auto& [option, role] :
         {std::pair{"--in-project", roles().in_project()}, std::pair{"--across", roles().across_projects()}}) {
      provision = with_option(provision, option, fresh_role(role));
      upgrade = with_option(upgrade, option, fresh_role(role));
    }
    EXPECT_EQ(host(provision).out, "{\"ok\":true}\n");
    EXPECT_EQ(host(upgrade).out, "{\"ok\":true,\"plan\":\"Install\",\"version\":13}\n");
    return fresh;
  }
  // The fresh deployment's name of one of this deployment's roles.
  std::string fresh_role(const std::string& role) const { return role + "_fresh"; }
  // `dump` of the fresh deployment with this deployment's role names.
  std::string with_these_roles(std::string dump) const {
    for (const std::string& role : {owner(), roles().in_project(), roles().across_projects()}) {
      const std::string fresh = fresh_role(role);
      for (std::size_t at; (at = dump.find(fresh)) != std::string::npos;) dump.replace(at, fresh.size(), role);
    }
    return dump;
  }

  // Every table and view of the home schema with its row count, the version
  // row, the columns of the runs and their ids and groups.
  std::string whole_state() {
    return value(
        "SELECT string_agg(c.relname || ':' || (xpath('/row/n/text()', query_to_xml(format('SELECT count(*) AS n "
        "FROM %I.%I', 'qv_apiserver', c.relname), false, true, '')))[1]::text, ',' ORDER BY c.relname) || ' / ' || "
        "(SELECT value FROM quorvale_system WHERE name = 'db_version') || ' / ' || (SELECT string_agg(attname || "
        "format_type(atttypid, atttypmod), ',' ORDER BY attnum) FROM pg_attribute WHERE attrelid = "
        "'logical_function_runs'::regclass AND attnum > 0) || ' / ' || (SELECT string_agg(id || group_id, ',' ORDER "
        "BY id) FROM logical_function_runs) FROM pg_class c WHERE c.relnamespace = 'qv_apiserver'::regnamespace AND "
        "c.relkind IN ('r', 'v')");
  }

 private:
  bool fresh_created_ = false;
};

TEST_F(MigrationFromVersionFour, MigratesInOneRunToWhatTheStepsPromise) {
  ASSERT_NO_FATAL_FAILURE(version_four());
  Finished migrated = host(upgrade_args(conninfo()));
  ASSERT_EQ(migrated.out, kMigrated) << migrated.err;
  Finished checked =
      host({"check", "--serving", serving_login(), "--schema", "qv_apiserver", "--in-project", roles().in_project()});
  EXPECT_EQ(checked.out, "{\"ok\":true}\n") << checked.err;

  const struct {
    const char* step;
    const char* query;
    const char* expected;
  } cases[] = {
      {"8: text ids become numbers, a run without function version gets the placeholder",
       "SELECT string_agg(concat_ws(' ', id, execution_id, transaction_id, function_version_id, status), ', ' ORDER "
       "BY id) FROM logical_function_runs",
       "12 1 10 3 R, 13 1 10 3 C, 20 2 20 3 C, 21 2 21 3 X, 30 3 30 197001010000000001 S"},
      {"8: a digit-less id in a nullable column becomes NULL",
       "SELECT string_agg(concat_ws(' ', id, coalesce(with_data_table_data_version_id::text, 'NULL'), "
       "logical_table_data_version_id, physical_function_run_id), ', ' ORDER BY id) FROM "
       "physical_table_data_versions",
       "5000 NULL 500 130, 5001 NULL 501 101"},
      {"9: the first project keeps the shared group, the other gets its own id",
       "SELECT string_agg(concat_ws(' ', project_id, id, kind), ', ' ORDER BY project_id, id) FROM groups",
       "p0000000000000000000000001 00000000000000000000000208 default, p0000000000000000000000001 g-custom custom, "
       "p0000000000000000000000002 p0000000000000000000000004 default"},
      {"9: the children follow their groups",
       "SELECT (SELECT string_agg(id || ' ' || group_id, ', ' ORDER BY id) FROM collections) || ' / ' || (SELECT "
       "string_agg(id || ' ' || group_id, ', ' ORDER BY id) FROM transactions) || ' / ' || (SELECT group_id FROM "
       "logical_function_runs WHERE id = 30)",
       "c-1 00000000000000000000000208, c-2 p0000000000000000000000004 / 10 00000000000000000000000208, 20 "
       "g-custom, 21 g-custom, 30 p0000000000000000000000004 / p0000000000000000000000004"},
      {"10: one fact per ended attempt, per run on its current attempt, per written version",
       "SELECT string_agg(concat_ws(' ', side, attempt_id, function_run_id, attempt_outcome, run_status, replay, "
       "current, coalesce(table_version_id::text, '-')), ', ' ORDER BY side, attempt_id, table_version_id) FROM "
       "metrics_facts",
       "attempt 100 12 failed running 0 f -, attempt 130 13 succeeded committed 0 t -, attempt 200 20 succeeded "
       "committed 0 t -, attempt 210 21 interrupted cancelled 0 t -, run 130 13 succeeded committed 0 t -, run 200 "
       "20 succeeded committed 0 t -, run 210 21 interrupted cancelled 0 t -, written 130 13 succeeded committed 0 t "
       "500"},
      {"10: the kept metric columns keep their data",
       "SELECT string_agg(concat_ws(' ', id, metric_table_versions, metric_rows, metric_data_bytes), ', ' ORDER BY "
       "id) FROM physical_function_runs WHERE metric_rows IS NOT NULL",
       "100 1 7 70, 130 1 10 100, 200 0 0 0, 210 0 0 0"},
      {"11: every function is a regular one", "SELECT string_agg(function_type, ',') FROM functions", "R"},
      {"13: a disabled CT worker that was stopping is stopped, an enabled one is not",
       "SELECT string_agg(concat_ws(' ', id, status, ended_on IS NOT NULL, failures), ', ' ORDER BY id) FROM workers",
       "1 SP t 0, 2 SPS f 0"},
      {"13: the version without data of a running attempt becomes an empty interval",
       "SELECT string_agg(concat_ws(' ', id, valid_from AT TIME ZONE 'UTC', valid_to AT TIME ZONE 'UTC'), ', ' "
       "ORDER BY id) FROM physical_table_data_versions",
       "5000 2024-05-01 08:40:00 infinity, 5001 2024-05-01 09:00:00 2024-05-01 09:00:00"},
      {"13: transactions roll up their runs",
       "SELECT string_agg(concat_ws(' ', id, status, coalesce((started_on AT TIME ZONE 'UTC')::text, '-'), "
       "coalesce((ended_on AT TIME ZONE 'UTC')::text, '-')), ', ' ORDER BY id) FROM transactions",
       "10 R 2024-05-01 08:00:00 -, 20 C 2024-05-02 01:00:00 2024-05-02 02:00:00, 21 X 2024-05-02 01:30:00 "
       "2024-05-02 03:00:00, 30 S - -"},
      {"13: executions roll up their transactions: running, finished, waiting",
       "SELECT string_agg(concat_ws(' ', id, status, coalesce((started_on AT TIME ZONE 'UTC')::text, '-'), "
       "coalesce((ended_on AT TIME ZONE 'UTC')::text, '-')), ', ' ORDER BY id) FROM executions",
       "1 R 2024-05-01 08:00:00 -, 2 F 2024-05-02 01:00:00 2024-05-02 03:00:00, 3 S - -"},
      {"the version row", "SELECT value FROM quorvale_system WHERE name = 'db_version'", "13"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.step);
    EXPECT_EQ(value(test_case.query), test_case.expected);
  }
}

TEST_F(MigrationFromVersionFour, TheMigratedSchemaIsAFreshInstallButForTheKeptMetricColumns) {
  ASSERT_NO_FATAL_FAILURE(version_four());
  ASSERT_EQ(host(upgrade_args(conninfo())).out, kMigrated);
  const std::string fresh = fresh_install();
  ASSERT_FALSE(HasFailure());

  auto migrated_dump = schema::test_support::dump_home_schema(conninfo());
  auto fresh_dump = schema::test_support::dump_home_schema(fresh);
  ASSERT_TRUE(migrated_dump) << migrated_dump.error();
  ASSERT_TRUE(fresh_dump) << fresh_dump.error();
  // The allowed difference in the dump: the three columns, in the table and
  // in the view of current physical runs.
  std::string allowed = *migrated_dump;
  for (const std::string line :
       {"    metric_table_versions bigint,\n", "    metric_rows bigint,\n", "    metric_data_bytes bigint,\n",
        "    physical_function_runs.metric_table_versions,\n", "    physical_function_runs.metric_rows,\n",
        "    physical_function_runs.metric_data_bytes,\n"}) {
    const std::size_t at = allowed.find(line);
    ASSERT_NE(at, std::string::npos) << line;
    allowed.erase(at, line.size());
  }
  EXPECT_EQ(allowed, with_these_roles(*fresh_dump));

  auto fresh_db = connection::connect(fresh, {{"options", "-c search_path=qv_apiserver"}});
  ASSERT_TRUE(fresh_db) << connection::describe(fresh_db.error());
  for (const auto& [what, query] : kCatalog) {
    SCOPED_TRACE(what);
    const std::string expected = query_value(*fresh_db, with_allowance(query));
    EXPECT_THAT(expected, testing::Not(testing::StartsWith("error")));
    EXPECT_NE(expected, "NULL");
    EXPECT_EQ(value(with_allowance(query)), expected);
  }
  const std::string kept =
      "SELECT string_agg(attname, ',' ORDER BY attnum) FROM pg_attribute WHERE attrelid = "
      "'physical_function_runs'::regclass AND attname IN (" +
      std::string(kKeptMetricColumns) + ")";
  EXPECT_EQ(value(kept), "metric_table_versions,metric_rows,metric_data_bytes");
  EXPECT_EQ(query_value(*fresh_db, kept), "NULL");
}

TEST_F(MigrationFromVersionFour, TwoLiveFunctionsNamedAlikeStopTheUpgradeBeforeAnyChange) {
  ASSERT_NO_FATAL_FAILURE(version_four({
      "INSERT INTO functions (id, project_id, collection_id, name, description, decorator, runtime_values, "
      "function_id, stage_id, stage_base_path, storage_version, bundle_id, snippet, defined_on, defined_by_id, "
      "status, valid_to) VALUES ('fv-4', 'p0000000000000000000000001', 'c-1', 'load', '', 'P', '', 'f-2', 's', "
      "'/s', '1', 'b', '', '2024-01-02Z', 'u-1', 'A', 'infinity')",
  }));
  const std::string before = whole_state();
  Finished refused = host(upgrade_args(conninfo()));
  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.err, testing::HasSubstr("Live names must be unique within a collection; rename or delete one "
                                              "of each, then upgrade again: function load in collection c-1"));
  EXPECT_EQ(value("SELECT value FROM quorvale_system WHERE name = 'db_version'"), "4");
  EXPECT_EQ(whole_state(), before);
}

// The second project's default group becomes p...04 at version 9, an id
// that a group of the first project already holds.
TEST_F(MigrationFromVersionFour, AGroupHoldingAProjectsNewGroupIdStopsTheUpgradeBeforeAnyChange) {
  ASSERT_NO_FATAL_FAILURE(version_four({
      "INSERT INTO groups VALUES ('p0000000000000000000000004', 'p0000000000000000000000001', 'taken', '', "
      "'2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', false)",
  }));
  expect_upgrade_refused("groups",
                         "Group ids must be unique once each project has system groups of its own; give the "
                         "other groups of each id another id or delete them, then upgrade again: "
                         "p0000000000000000000000004: custom group of project p0000000000000000000000001, "
                         "default group of project p0000000000000000000000002");
}

// At version 4 another project's connection may hold a connection's id; at
// version 9 connections are keyed by their id alone.
TEST_F(MigrationFromVersionFour, AConnectionIdOfTwoProjectsStopsTheUpgradeBeforeAnyChange) {
  ASSERT_NO_FATAL_FAILURE(version_four({
      "INSERT INTO connections VALUES ('k-1', 'p0000000000000000000000001', 'S', '2024-01-01Z', 'u-1', "
      "'2024-01-01Z', 'u-1'), ('k-1', 'p0000000000000000000000002', 'S', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1')",
  }));
  expect_upgrade_refused("connections",
                         "Connection ids must be unique across projects once connections are keyed by their "
                         "id alone; give the other connections of each id another id or delete them, then "
                         "upgrade again: k-1: projects p0000000000000000000000001, p0000000000000000000000002");
}

TEST_F(MigrationFromVersionFour, AClientKilledHalfWayLeavesVersionFourAndARerunCompletesIt) {
  ASSERT_NO_FATAL_FAILURE(version_four());
  const std::string before = whole_state();
  // A lock on the runs, which the steps change, holds the upgrade half way.
  connection::Connection holder = session();
  ASSERT_TRUE(holder.execute_script("BEGIN; LOCK TABLE logical_function_runs IN SHARE MODE"));
  {
    Host upgrading(upgrade_args(conninfo()), "");
    ASSERT_TRUE(upgrade_waits()) << "the upgrade never reached the runs";
    upgrading.kill_now();
    EXPECT_EQ(upgrading.wait().status, 128 + SIGKILL);
  }
  ASSERT_TRUE(holder.execute_script("ROLLBACK"));
  ASSERT_TRUE(sessions_gone());
  EXPECT_EQ(whole_state(), before);
  EXPECT_EQ(host(upgrade_args(conninfo())).out, kMigrated);
  EXPECT_EQ(value("SELECT value FROM quorvale_system WHERE name = 'db_version'"), "13");
}

}  // namespace
