#include "components/upgrade.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "schema/current/source.h"
#include "test_support/schema_fixture.h"

namespace components::upgrade {
namespace {

using plan::Install;
using plan::Migrate;
using plan::RecordedPlan;
using plan::UpToDate;
using schema::source::Delta;
using schema::source::Derived;
using test_support::outcome_text;
using test_support::query_value;
using test_support::UpgradeRun;

// How the upgrade reports a relation that grants too much.
const std::string kGrantFailed = "5008 Database statement failed: ERROR P0001: ";

// A grant on an installed relation, what undoes it, and the start of the
// refusal it brings.
struct RelationGrant {
  std::string grant;
  std::string revoke;
  std::string refusal;
};

class Upgrade : public test_support::SchemaFixture {
 protected:
  std::string system_value(const std::string& name) {
    return value("SELECT value FROM quorvale_system WHERE name = '" + name + "'");
  }

  // The rule that the refusal of a relation that grants too much states.
  std::string relation_rule() {
    return "; a relation of the home schema qv_apiserver may grant privileges only to its own owner, "
           "the owner of the schema and the row-level-security roles " +
           roles().in_project() + " and " + roles().across_projects() +
           ", and these two only SELECT, INSERT, UPDATE and DELETE, and USAGE on a sequence\n";
  }

  // Each grant on the installed catalog fails the next upgrade, whose
  // change of the edition does not stay; then it is undone.
  void expect_each_grant_refused(const std::vector<RelationGrant>& grants) {
    run("UPDATE quorvale_system SET value = 'opensource' WHERE name = 'edition'");
    for (const RelationGrant& grant : grants) {
      SCOPED_TRACE(grant.grant);
      run(grant.grant);
      EXPECT_THAT(outcome_text(upgrade_with().outcome),
                  testing::StartsWith(kGrantFailed + grant.refusal + relation_rule()));
      EXPECT_EQ(system_value("edition"), "opensource");
      run(grant.revoke);
    }
  }

  // Runs the upgrade of the current catalog with `inspect` inside its transaction.
  UpgradeRun upgrade_with(const std::function<void(connection::Connection&)>& inspect = {}) {
    return upgrade(admin(), {}, inspect);
  }
};

// What the texts of `batch` create, by `pattern`'s first group.
std::vector<std::string> created(const std::vector<std::string>& batch, const char* pattern) {
  const std::regex creates(pattern);
  std::vector<std::string> names;
  for (const std::string& text : batch) {
    std::smatch match;
    if (std::regex_search(text, match, creates)) names.push_back(match[1]);
  }
  return names;
}

TEST_F(Upgrade, InstallsTheCatalogIntoTheHomeSchemaOfAnEmptyDatabase) {
  ASSERT_NO_FATAL_FAILURE(provision());
  UpgradeRun run = upgrade_with();
  ASSERT_TRUE(run.outcome) << outcome_text(run.outcome);
  EXPECT_EQ(run.plan, (RecordedPlan{Install{13}, 13}));
  EXPECT_EQ(system_value("db_version"), "13");
  EXPECT_EQ(system_value("edition"), "enterprise");
  EXPECT_EQ(system_value("quorvale_version"), "2");

  const std::vector<std::string> batch = schema::source::install_batch(schema::current::Source());
  connection::Connection db = session();
  std::vector<std::string> relations = created(batch, R"(^CREATE (?:TABLE|VIEW|(?:UNIQUE )?INDEX|STATISTICS) "?(\w+))");
  ASSERT_FALSE(relations.empty());
  for (const std::string& relation : relations) {
    const bool statistics = relation.ends_with("___stx");
    const std::string exists = statistics ? "SELECT count(*) = 1 FROM pg_statistic_ext WHERE stxname = $1 AND "
                                            "stxnamespace = 'qv_apiserver'::regnamespace"
                                          : "SELECT to_regclass('qv_apiserver.' || $1) IS NOT NULL";
    EXPECT_EQ(query_value(db, exists, {relation}), "t") << relation;
  }
  auto count_in_home = [&](const char* catalog_query) { return query_value(db, catalog_query); };
  EXPECT_EQ(count_in_home("SELECT count(*) FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid WHERE NOT "
                          "t.tgisinternal AND c.relnamespace = 'qv_apiserver'::regnamespace"),
            std::to_string(created(batch, R"(^CREATE TRIGGER (\w+))").size()));
  EXPECT_EQ(count_in_home("SELECT count(*) FROM pg_policy p JOIN pg_class c ON c.oid = p.polrelid WHERE "
                          "c.relnamespace = 'qv_apiserver'::regnamespace"),
            std::to_string(created(batch, R"(^CREATE POLICY (\w+))").size()));
  EXPECT_EQ(count_in_home("SELECT count(*) FROM pg_class WHERE relnamespace = 'public'::regnamespace"), "0");
  EXPECT_EQ(count_in_home("SELECT count(*) FROM pg_proc WHERE pronamespace = 'public'::regnamespace"), "0");
}

TEST_F(Upgrade, InstalledSchemaPassesTheCheckOfAServingLogin) {
  ASSERT_NO_FATAL_FAILURE(install());
  std::string login = serving_login();
  EXPECT_EQ(value("SELECT rolsuper OR rolbypassrls FROM pg_roles WHERE rolname = '" + role_name("api") + "'"), "f");
  auto checked = component().check(serving_pool(login)).get();
  EXPECT_TRUE(checked) << outcome_text(checked);
}

TEST_F(Upgrade, AnUpToDateSchemaKeepsItsVersionRowButReconcilesEditionAndGrants) {
  ASSERT_NO_FATAL_FAILURE(install());
  const std::string version_row = "SELECT xmin FROM quorvale_system WHERE name = 'db_version'";
  const std::string written = value(version_row);
  run("UPDATE quorvale_system SET value = 'opensource' WHERE name = 'edition'");
  run("REVOKE ALL ON ALL TABLES IN SCHEMA qv_apiserver FROM " + roles().in_project());
  UpgradeRun run = upgrade_with();
  ASSERT_TRUE(run.outcome) << outcome_text(run.outcome);
  EXPECT_EQ(run.plan, (RecordedPlan{UpToDate{}, 13}));
  EXPECT_EQ(value(version_row), written);
  EXPECT_EQ(system_value("edition"), "enterprise");
  const std::string privilege =
      "SELECT has_table_privilege('" + roles().in_project() + "', 'quorvale_system', 'SELECT')";
  EXPECT_EQ(value(privilege), "t");
}

// Whatever reached a relation of the home schema (a grant, default
// privileges of the upgrade's login) gives a role outside the deployment
// every project's rows: the upgrade fails after its grants, and none of it
// stays.
TEST_F(Upgrade, ARelationThatGrantsARoleOutsideTheDeploymentFailsTheUpgrade) {
  const std::string outsider = role_name("outsider");
  ASSERT_NO_FATAL_FAILURE(provision());
  run("CREATE ROLE " + outsider + "; ALTER DEFAULT PRIVILEGES GRANT SELECT ON TABLES TO " + outsider);
  UpgradeRun install = upgrade_with();
  EXPECT_THAT(outcome_text(install.outcome),
              testing::MatchesRegex(kGrantFailed + "table qv_apiserver\\.\\w+ grants SELECT to " + outsider +
                                    relation_rule() + ".*"));
  EXPECT_EQ(value("SELECT to_regclass('qv_apiserver.quorvale_system') IS NULL"), "t");
  run("ALTER DEFAULT PRIVILEGES REVOKE SELECT ON TABLES FROM " + outsider);
  ASSERT_EQ(outcome_text(upgrade_with().outcome), "ok");

  expect_each_grant_refused({
      {"GRANT SELECT ON quorvale_system TO PUBLIC", "REVOKE SELECT ON quorvale_system FROM PUBLIC",
       "table qv_apiserver.quorvale_system grants SELECT to PUBLIC"},
      {"GRANT UPDATE, INSERT ON quorvale_system TO " + outsider,
       "REVOKE UPDATE, INSERT ON quorvale_system FROM " + outsider,
       "table qv_apiserver.quorvale_system grants INSERT, UPDATE to " + outsider},
      {"GRANT SELECT (value) ON quorvale_system TO " + outsider,
       "REVOKE SELECT (value) ON quorvale_system FROM " + outsider,
       "column value of table qv_apiserver.quorvale_system grants SELECT to " + outsider},
  });
  EXPECT_EQ(outcome_text(upgrade_with().outcome), "ok");
  EXPECT_EQ(system_value("edition"), "enterprise");
}

// TRUNCATE passes row-level security by, a trigger runs its function as
// whoever writes next, and REFERENCES lets a key of another table hold rows
// in place: the RLS roles only read and write rows, and use sequences.
TEST_F(Upgrade, TheRowLevelSecurityRolesGetNothingButReadingAndWritingRows) {
  const std::string in_project = roles().in_project();
  const std::string across = roles().across_projects();
  ASSERT_NO_FATAL_FAILURE(provision());
  run("ALTER DEFAULT PRIVILEGES IN SCHEMA qv_apiserver GRANT TRUNCATE, TRIGGER ON TABLES TO " + in_project);
  UpgradeRun install = upgrade_with();
  EXPECT_THAT(outcome_text(install.outcome),
              testing::MatchesRegex(kGrantFailed + "table qv_apiserver\\.\\w+ grants TRIGGER, TRUNCATE to " +
                                    in_project + relation_rule() + ".*"));
  EXPECT_EQ(value("SELECT to_regclass('qv_apiserver.quorvale_system') IS NULL"), "t");
  run("ALTER DEFAULT PRIVILEGES IN SCHEMA qv_apiserver REVOKE TRUNCATE, TRIGGER ON TABLES FROM " + in_project);
  ASSERT_EQ(outcome_text(upgrade_with().outcome), "ok");

  expect_each_grant_refused({
      {"GRANT TRUNCATE ON quorvale_system TO " + across, "REVOKE TRUNCATE ON quorvale_system FROM " + across,
       "table qv_apiserver.quorvale_system grants TRUNCATE to " + across},
      {"GRANT TRIGGER, REFERENCES ON quorvale_system TO " + in_project,
       "REVOKE TRIGGER, REFERENCES ON quorvale_system FROM " + in_project,
       "table qv_apiserver.quorvale_system grants REFERENCES, TRIGGER to " + in_project},
      {"GRANT REFERENCES (value) ON quorvale_system TO " + across,
       "REVOKE REFERENCES (value) ON quorvale_system FROM " + across,
       "column value of table qv_apiserver.quorvale_system grants REFERENCES to " + across},
  });
  // Rows of a column, and a sequence, are theirs to use.
  run("GRANT UPDATE (value) ON quorvale_system TO " + across +
      "; CREATE SEQUENCE qv_apiserver.numbers; GRANT USAGE, "
      "SELECT, UPDATE ON SEQUENCE qv_apiserver.numbers TO " +
      in_project);
  EXPECT_EQ(outcome_text(upgrade_with().outcome), "ok");
  EXPECT_EQ(system_value("edition"), "enterprise");
}

TEST_F(Upgrade, RefusesAStoredVersionItCannotHandleBeforeAnyWrite) {
  struct {
    const char* stored;
    const char* expect;
  } cases[] = {
      {"14", "5002 Quorvale database version '14' is newer than the binary's"},
      {"abc", "5003 'db_version' value 'abc' must be an integer"},
      {"-1", "5003 'db_version' value '-1' must be an integer"},
      {"0", "5003 'db_version' value '0' cannot be migrated: no version step leads to version 1"},
  };
  ASSERT_NO_FATAL_FAILURE(install());
  run("UPDATE quorvale_system SET value = 'opensource' WHERE name = 'edition'");
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.stored);
    run(std::string("UPDATE quorvale_system SET value = '") + test_case.stored + "' WHERE name = 'db_version'");
    std::string inside;
    UpgradeRun run = upgrade_with([&](connection::Connection& connection) {
      inside = query_value(connection,
                           "SELECT string_agg(name || '=' || value, ',' ORDER BY name) FROM "
                           "quorvale_system WHERE name <> 'quorvale_version'");
    });
    EXPECT_EQ(outcome_text(run.outcome), test_case.expect);
    EXPECT_EQ(inside, std::string("db_version=") + test_case.stored + ",edition=opensource");
  }
}

TEST_F(Upgrade, EditionIsStampedOrRefused) {
  struct {
    const char* stored;
    const char* outcome;
    const char* after;
  } cases[] = {
      {"opensource", "ok", "enterprise"},
      {"enterprise", "ok", "enterprise"},
      {"Enterprise", "5016 instance edition is 'Enterprise' cannot be upgraded to 'enterprise'", "Enterprise"},
      {"", "5016 instance edition is '' cannot be upgraded to 'enterprise'", ""},
  };
  ASSERT_NO_FATAL_FAILURE(install());
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.stored);
    run(std::string("UPDATE quorvale_system SET value = '") + test_case.stored + "' WHERE name = 'edition'");
    EXPECT_EQ(outcome_text(upgrade_with().outcome), test_case.outcome);
    EXPECT_EQ(system_value("edition"), test_case.after);
  }
}

TEST_F(Upgrade, ALockHeldElsewhereFailsAtOnceAndNothingRunsAfterIt) {
  ASSERT_NO_FATAL_FAILURE(provision());
  connection::Connection holder = session();
  ASSERT_TRUE(
      holder.execute_script("BEGIN; SELECT pg_advisory_xact_lock(hashtextextended('upgrade:schema:qv_apiserver', 0))"));
  std::string system_table;
  UpgradeRun run = upgrade_with([&](connection::Connection& connection) {
    system_table = query_value(connection, "SELECT to_regclass('quorvale_system') IS NULL");
  });
  EXPECT_EQ(outcome_text(run.outcome), "5046 A schema upgrade of 'qv_apiserver' is running in another transaction");
  EXPECT_EQ(system_table, "t");
  EXPECT_EQ(run.plan, std::nullopt);
  ASSERT_TRUE(holder.execute_script("ROLLBACK"));
  EXPECT_EQ(outcome_text(upgrade_with().outcome), "ok");
}

// A small schema whose statements log themselves into the table "trace", so
// that a test reads back what ran, in order.
class TraceSource final : public schema::source::SchemaSource {
 public:
  explicit TraceSource(std::vector<std::string> tables = {}) : tables_(std::move(tables)) {}

  schema::source::Version current_version() const override { return 13; }
  std::vector<std::string> tables() const override { return tables_; }
  std::vector<Derived> triggers() const override { return {object("trigger a"), object("trigger b")}; }
  std::vector<Derived> views() const override { return {object("view a"), object("view b")}; }
  std::vector<Derived> indexes() const override { return {object("index a")}; }
  std::vector<Derived> statistics() const override { return {object("statistics a")}; }
  std::vector<std::string> seeds() const override { return {trace("seed")}; }
  std::vector<std::string> rls() const override { return {trace("rls")}; }
  qv_common::Result<Delta, std::string> delta(schema::source::Version target) const override {
    if (target < 2 || target > 13) return qv_common::fail("No delta migration for version " + std::to_string(target));
    const std::string step = std::to_string(target);
    return Delta{{trace("up " + step), "UPDATE quorvale_system SET value = '" + step + "' WHERE name = 'db_version'"},
                 {trace("retired " + step + " a"), trace("retired " + step + " b")}};
  }

  static std::string trace(const std::string& entry) { return "INSERT INTO trace (entry) VALUES ('" + entry + "')"; }

 private:
  static Derived object(const std::string& name) {
    return {{trace("create " + name)}, {trace("drop " + name + " 1"), trace("drop " + name + " 2")}};
  }
  std::vector<std::string> tables_;
};

class UpgradeOrder : public Upgrade {
 protected:
  void SetUp() override {
    Upgrade::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_NO_FATAL_FAILURE(provision());
    run("CREATE TABLE trace (n serial, entry text)");
  }

  std::vector<std::string> traced() {
    connection::Connection connection = session();
    auto rows = connection.execute("SELECT entry FROM trace ORDER BY n");
    std::vector<std::string> entries;
    for (int row = 0; rows && row < rows->row_count(); ++row) entries.emplace_back(*rows->value(row, 0));
    return entries;
  }

  UpgradeRun upgrade_to(const TraceSource& source) {
    return upgrade(admin(), [&](UpgradeTransaction& transaction) { return run_upgrade(transaction, source); });
  }
};

TEST_F(UpgradeOrder, MigrateRunsRetiredNewestFirstDerivedDropsStepsVersionThenCreates) {
  run("CREATE TABLE quorvale_system (name text PRIMARY KEY, value text);"
      "INSERT INTO quorvale_system VALUES ('db_version', '11'), ('edition', 'enterprise')");
  UpgradeRun run = upgrade_to(TraceSource());
  ASSERT_TRUE(run.outcome) << outcome_text(run.outcome);
  EXPECT_EQ(run.plan, (RecordedPlan{Migrate{{12, 13}}, 13}));
  EXPECT_THAT(traced(),
              testing::ElementsAre("retired 13 a", "retired 13 b", "retired 12 a", "retired 12 b",                  //
                                   "drop view b 1", "drop view b 2", "drop view a 1", "drop view a 2",              //
                                   "drop trigger b 1", "drop trigger b 2", "drop trigger a 1", "drop trigger a 2",  //
                                   "drop index a 1", "drop index a 2", "drop statistics a 1", "drop statistics a 2",
                                   "up 12", "up 13",  //
                                   "create index a", "create statistics a", "create trigger a", "create trigger b",
                                   "create view a", "create view b"));
  EXPECT_EQ(system_value("db_version"), "13");
}

TEST_F(UpgradeOrder, InstallRunsTablesDerivedCreatesSeedsAndSecurityInOneBatch) {
  UpgradeRun run = upgrade_to(TraceSource({TraceSource::trace("table")}));
  ASSERT_TRUE(run.outcome) << outcome_text(run.outcome);
  EXPECT_EQ(run.plan, (RecordedPlan{Install{13}, 13}));
  EXPECT_THAT(traced(), testing::ElementsAre("table", "create trigger a", "create trigger b", "create view a",
                                             "create view b", "create index a", "create statistics a", "seed", "rls"));
  EXPECT_EQ(system_value("db_version"), "13");
  EXPECT_EQ(system_value("edition"), "enterprise");
}

TEST_F(UpgradeOrder, AFailingStatementRollsBackTheWholeUpgrade) {
  UpgradeRun run = upgrade_to(
      TraceSource({"CREATE TABLE early (n int)", TraceSource::trace("table"), "CREATE TABLE early (n int)"}));
  EXPECT_THAT(outcome_text(run.outcome), testing::StartsWith("5008 Database statement failed: ERROR 42P07"));
  EXPECT_EQ(value("SELECT to_regclass('early') IS NULL AND to_regclass('quorvale_system') IS NULL"), "t");
  EXPECT_THAT(traced(), testing::IsEmpty());
}

TEST_F(UpgradeOrder, AMissingSystemTableReadsAsNoRowWithoutAbortingTheTransaction) {
  const TraceSource source({"CREATE TABLE quorvale_system (name text PRIMARY KEY, value text)"});
  UpgradeRun run =
      upgrade(admin(), [&](UpgradeTransaction& transaction) { return transaction.upgrade_db_version(source); });
  ASSERT_TRUE(run.outcome) << outcome_text(run.outcome);
  EXPECT_EQ(run.plan, (RecordedPlan{Install{13}, 13}));
  EXPECT_EQ(system_value("db_version"), "13");
}

TEST_F(UpgradeOrder, AStepTheCatalogDoesNotHaveIsRefusedBeforeAnyStatement) {
  run("CREATE TABLE quorvale_system (name text PRIMARY KEY, value text);"
      "INSERT INTO quorvale_system VALUES ('db_version', '0')");
  EXPECT_EQ(outcome_text(upgrade_to(TraceSource()).outcome),
            "5003 'db_version' value '0' cannot be migrated: no version step leads to version 1");
  EXPECT_THAT(traced(), testing::IsEmpty());
}

}  // namespace
}  // namespace components::upgrade
