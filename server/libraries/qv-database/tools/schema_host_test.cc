// schema_host as a deployment runs it: one process per operation against the
// test server, including processes that are killed, that race, and whose
// server goes away.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "connection/conninfo.h"
#include "test_support/schema_fixture.h"
#include "test_support/tcp_proxy.h"
#include "host_process.h"

namespace {

using namespace std::chrono_literals;
using schema_host_test::Finished;
using schema_host_test::Host;
using test_support::query_value;

class SchemaHost : public test_support::SchemaFixture {
 protected:
  std::vector<std::string> provision_args(const std::string& admin) const {
    return {"provision",
            "--admin",
            admin,
            "--schema",
            "qv_apiserver",
            "--owner",
            owner(),
            "--in-project",
            roles().in_project(),
            "--across",
            roles().across_projects()};
  }
  // The superuser's provisioning with the value of one option replaced.
  std::vector<std::string> provision_args_with(const std::string& option, const std::string& value) const {
    std::vector<std::string> arguments = provision_args(conninfo());
    auto found = std::find(arguments.begin(), arguments.end(), option);
    EXPECT_NE(found, arguments.end()) << option;
    if (found != arguments.end()) *std::next(found) = value;
    return arguments;
  }
  std::vector<std::string> upgrade_args(const std::string& admin) const {
    return {"upgrade",
            "--admin",
            admin,
            "--schema",
            "qv_apiserver",
            "--in-project",
            roles().in_project(),
            "--across",
            roles().across_projects()};
  }

  Finished host(const std::vector<std::string>& arguments, const std::string& password = "owner pw") {
    return Host(arguments, password).wait();
  }

  void run(const std::string& sql) {
    connection::Connection db = session();
    auto ran = db.execute_script(sql);
    ASSERT_TRUE(ran) << connection::describe(ran.error());
  }

  std::string value(const std::string& sql) {
    connection::Connection db = session();
    return query_value(db, sql);
  }

  // A provisioned schema whose empty system table a test can lock.
  void provisioned_with_system_table() {
    Finished provisioned = host(provision_args(conninfo()));
    ASSERT_EQ(provisioned.status, 0) << provisioned.err;
    run("CREATE TABLE quorvale_system (name text PRIMARY KEY, value text)");
  }

  // A session holding a lock that lets the upgrade read the system table but
  // not write it, so that an upgrade stops half way, its install batch run.
  connection::Connection holding_system_table() {
    connection::Connection holder = session();
    auto locked = holder.execute_script("BEGIN; LOCK TABLE quorvale_system IN SHARE MODE");
    EXPECT_TRUE(locked) << connection::describe(locked.error());
    return holder;
  }

  // Waits until a session of the test database waits for a lock; false when
  // none does within a minute. (Not asked from inside the holder's
  // transaction, which would see one snapshot of the activity throughout.)
  bool upgrade_waits() {
    connection::Connection observer = session();
    for (int attempt = 0; attempt < 6000; ++attempt) {
      if (query_value(observer,
                      "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND "
                      "wait_event_type = 'Lock'") == "1") {
        return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  // Waits until every other session of the test database is idle outside a
  // transaction, or gone: the orphaned session of an upgrade has ended.
  bool sessions_gone() {
    connection::Connection observer = session();
    for (int attempt = 0; attempt < 6000; ++attempt) {
      if (query_value(observer,
                      "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND "
                      "pid <> pg_backend_pid() AND state <> 'idle'") == "0") {
        return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  // The relations of the home schema, and the version row.
  std::string home_state() {
    return value(
        "SELECT (SELECT string_agg(relname, ',' ORDER BY relname) FROM pg_class WHERE relnamespace = "
        "'qv_apiserver'::regnamespace) || ' / ' || coalesce((SELECT value FROM quorvale_system WHERE name "
        "= 'db_version'), 'no version')");
  }
};

TEST_F(SchemaHost, TheRoadOfAFirstInstall) {
  EXPECT_EQ(host(provision_args(conninfo())).out, "{\"ok\":true}\n");
  EXPECT_EQ(host({"preflight", "--admin", conninfo(), "--schema", "qv_apiserver"}).out, "{\"ok\":true}\n");
  EXPECT_EQ(host(upgrade_args(conninfo())).out, "{\"ok\":true,\"plan\":\"Install\",\"version\":13}\n");
  const std::string login = serving_login();
  Finished checked =
      host({"check", "--serving", login, "--schema", "qv_apiserver", "--in-project", roles().in_project()});
  EXPECT_EQ(checked.status, 0) << checked.err;
  EXPECT_EQ(checked.out, "{\"ok\":true}\n");
  EXPECT_EQ(host(upgrade_args(conninfo())).out, "{\"ok\":true,\"plan\":\"UpToDate\"}\n");
  run("UPDATE quorvale_system SET value = '14' WHERE name = 'db_version'");
  Finished ahead = host(upgrade_args(conninfo()));
  EXPECT_EQ(ahead.status, 1);
  EXPECT_EQ(ahead.err,
            "{\"error\":{\"code\":5002,\"message\":\"Quorvale database version '14' is newer than the "
            "binary's\"}}\n");
}

TEST_F(SchemaHost, AFailureIsItsCodeAndMessageOnStandardError) {
  Finished checked = host({"check", "--serving", conninfo(), "--schema", "qv_apiserver", "--in-project", "x"});
  EXPECT_EQ(checked.status, 1);
  EXPECT_EQ(checked.out, "");
  EXPECT_EQ(checked.err,
            "{\"error\":{\"code\":5000,\"message\":\"The system table 'quorvale_system' does not exist\"}}\n");
}

TEST_F(SchemaHost, NamesAreRefusedBeforeAnyStatement) {
  struct {
    std::string option;
    std::string value;
    std::string field;
  } cases[] = {
      {"--in-project", "x\", PUBLIC --", "in_project"},
      {"--across", "a b", "across_projects"},
      {"--owner", "pg_owner", "owner"},
      {"--schema", "Qv", "schema"},
      {"--across", roles().in_project(), "across_projects"},
      {"--owner", roles().in_project(), "owner"},
      {"--owner", roles().across_projects(), "owner"},
      {"--in-project", "qv_across_projects", "in_project"},
      {"--across", "qv_across_projects", "across_projects"},
      {"--owner", "qv_across_projects", "owner"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.option);
    Finished refused = host(provision_args_with(test_case.option, test_case.value));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith("{\"error\":{\"message\":\"" + test_case.field + ": "));
  }
  Finished without_password = host(provision_args(conninfo()), "");
  EXPECT_EQ(without_password.err, "{\"error\":{\"message\":\"owner_password: must not be empty\"}}\n");
  EXPECT_EQ(value("SELECT count(*) FROM pg_roles WHERE starts_with(rolname, '" + database_name() + "')"), "0");
  EXPECT_EQ(value("SELECT count(*) FROM pg_namespace WHERE nspname = 'qv_apiserver'"), "0");
}

// The owner becomes a member of both RLS roles and serving logins of the
// in-project role, so neither may carry powers beyond row-level security.
TEST_F(SchemaHost, ExistingRolesWithPowersBeyondRowLevelSecurityAreRefusedAndNothingIsCreated) {
  const std::string rule = "a row-level-security role must have none of SUPERUSER, BYPASSRLS and CREATEROLE";
  run("CREATE ROLE " + role_name("super") + " SUPERUSER NOLOGIN");
  struct {
    std::string option;
    std::string role;
    std::string attributes;
    std::string refusal;
    std::string memberships;
  } cases[] = {
      {"--in-project", role_name("i1"), "SUPERUSER", "role " + role_name("i1") + " has SUPERUSER; " + rule, "0"},
      {"--across", role_name("a1"), "LOGIN BYPASSRLS", "role " + role_name("a1") + " has BYPASSRLS; " + rule, "0"},
      {"--in-project", role_name("i2"), "CREATEROLE BYPASSRLS",
       "role " + role_name("i2") + " has BYPASSRLS, CREATEROLE; " + rule, "0"},
      {"--across", role_name("a2"), "IN ROLE " + role_name("super"),
       "role " + role_name("a2") + " is a member of " + role_name("super") + ", which has SUPERUSER; " + rule +
           ", nor be a member of a role that has one",
       "1"},
  };
  const std::string prefix = database_name();
  const std::string roles_of_test =
      "SELECT string_agg(rolname, ',' ORDER BY rolname) FROM pg_roles WHERE starts_with(rolname, '" + prefix + "')";
  const std::string failed = "{\"error\":{\"code\":5008,\"message\":\"Database statement failed: ERROR P0001: ";
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.refusal);
    run("CREATE ROLE " + test_case.role + " " + test_case.attributes);
    const std::string before = value(roles_of_test);
    Finished refused = host(provision_args_with(test_case.option, test_case.role));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(failed + test_case.refusal + "\\n"));
    EXPECT_EQ(value(roles_of_test), before);
    EXPECT_EQ(value("SELECT count(*) FROM pg_namespace WHERE nspname = 'qv_apiserver'"), "0");
    EXPECT_EQ(value("SELECT count(*) FROM pg_auth_members WHERE '" + test_case.role + "'::regrole IN (member, roleid)"),
              test_case.memberships);
  }
  // Roles that provisioning created itself pass: a sound provisioning runs, and runs again.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Finished provisioned = host(provision_args(conninfo()));
    EXPECT_EQ(provisioned.status, 0) << provisioned.err;
  }
  EXPECT_EQ(value("SELECT pg_has_role('" + owner() + "', '" + roles().across_projects() + "', 'MEMBER')"), "t");
}

TEST_F(SchemaHost, AClientKilledHalfWayLeavesTheDatabaseAsItWas) {
  ASSERT_NO_FATAL_FAILURE(provisioned_with_system_table());
  const std::string before = home_state();
  connection::Connection holder = holding_system_table();
  {
    Host upgrading(upgrade_args(conninfo()), "");
    ASSERT_TRUE(upgrade_waits()) << "the upgrade never reached the system table";
    upgrading.kill_now();
    EXPECT_EQ(upgrading.wait().status, 128 + SIGKILL);
  }
  ASSERT_TRUE(holder.execute_script("ROLLBACK"));
  ASSERT_TRUE(sessions_gone());
  EXPECT_EQ(home_state(), before);
  EXPECT_EQ(before, "quorvale_system,quorvale_system_pkey / no version");
  EXPECT_EQ(host(upgrade_args(conninfo())).out, "{\"ok\":true,\"plan\":\"Install\",\"version\":13}\n");
  EXPECT_EQ(value("SELECT value FROM quorvale_system WHERE name = 'db_version'"), "13");
}

TEST_F(SchemaHost, OfTwoUpgradesAtOnceOneInstallsAndTheOtherIsRefused) {
  ASSERT_NO_FATAL_FAILURE(provisioned_with_system_table());
  connection::Connection holder = holding_system_table();
  Host first(upgrade_args(conninfo()), "");
  ASSERT_TRUE(upgrade_waits()) << "the first upgrade never reached the system table";
  // The first holds the upgrade lock while it waits: the second fails at once.
  Finished second = Host(upgrade_args(conninfo()), "").wait();
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.err,
            "{\"error\":{\"code\":5046,\"message\":\"A schema upgrade of 'qv_apiserver' is running in "
            "another transaction\"}}\n");
  ASSERT_TRUE(holder.execute_script("ROLLBACK"));
  Finished installed = first.wait();
  EXPECT_EQ(installed.status, 0) << installed.err;
  EXPECT_EQ(installed.out, "{\"ok\":true,\"plan\":\"Install\",\"version\":13}\n");
  EXPECT_EQ(host(upgrade_args(conninfo())).out, "{\"ok\":true,\"plan\":\"UpToDate\"}\n");
}

TEST_F(SchemaHost, AServerThatGoesAwayHalfWayIsAFailureNotAHang) {
  ASSERT_NO_FATAL_FAILURE(provisioned_with_system_table());
  const std::string before = home_state();
  auto settings = connection::parse_conninfo(conninfo()).value();
  test_support::TcpProxy proxy(*connection::find_setting(settings, "host"),
                               std::stoi(*connection::find_setting(settings, "port")));
  connection::Connection holder = holding_system_table();
  Host upgrading(upgrade_args(conninfo_with({{"host", "127.0.0.1"}, {"port", std::to_string(proxy.port())}})), "");
  ASSERT_TRUE(upgrade_waits()) << "the upgrade never reached the system table";
  proxy.unplug();
  Finished failed = upgrading.wait();
  EXPECT_EQ(failed.status, 1);
  EXPECT_THAT(failed.err, testing::StartsWith("{\"error\":{\"code\":5008,\"message\":\"Database statement failed: "));
  ASSERT_TRUE(holder.execute_script("ROLLBACK"));
  ASSERT_TRUE(sessions_gone());
  EXPECT_EQ(home_state(), before);
}

}  // namespace
