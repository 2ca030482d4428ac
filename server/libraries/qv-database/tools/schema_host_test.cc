// schema_host as a deployment runs it: one process per operation against the
// test server, including processes that are killed, that race, and whose
// server goes away.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <string_view>
#include <vector>

#include "connection/conninfo.h"
#include "schema_host_fixture.h"
#include "test_support/tcp_proxy.h"

namespace {

using schema_host_test::Finished;
using schema_host_test::Host;

class SchemaHost : public schema_host_test::SchemaHostFixture {
 protected:
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
  Finished provisioned = host(provision_args(conninfo()));
  ASSERT_EQ(provisioned.status, 0) << provisioned.err;
  Finished checked = host(
      {"check", "--serving", serving_login(), "--schema", "qv_apiserver", "--in-project", roles().in_project()});
  EXPECT_EQ(checked.status, 1);
  EXPECT_EQ(checked.out, "");
  EXPECT_EQ(checked.err,
            "{\"error\":{\"code\":5000,\"message\":\"The system table 'quorvale_system' does not exist\"}}\n");
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

// A connection string that does not parse, or holds a value that libpq
// would refuse, fails every operation with a message that holds none of its
// text (a misplaced password would be in libpq's own message). No server is
// needed: nothing is sent.
TEST(SchemaHostConnectionStrings, AStringThatDoesNotParseIsReportedWithoutItsText) {
  const std::string secret = "pw-Zq7x";
  const struct {
    std::string conninfo;
    std::string_view message;
  } strings[] = {
      {"host=db user=admin password=my " + secret, connection::kMalformedConninfo},
      {"postgresql://admin:" + secret + "%ZZ@db/qv", connection::kMalformedUri},
      {"postgresql://admin:" + secret + "/x@db/qv", "The connection string's 'port' value is not valid (its text "
                                                   "is left out of this message)"},
  };
  for (const auto& bad : strings) {
    const std::vector<std::vector<std::string>> commands = {
        {"provision", "--admin", bad.conninfo, "--schema", "qv_apiserver", "--owner", "qv_owner", "--in-project",
         "qv_reader", "--across", "qv_everywhere"},
        {"preflight", "--admin", bad.conninfo, "--schema", "qv_apiserver"},
        {"upgrade", "--admin", bad.conninfo, "--schema", "qv_apiserver", "--in-project", "qv_reader", "--across",
         "qv_everywhere"},
        {"check", "--serving", bad.conninfo, "--schema", "qv_apiserver", "--in-project", "qv_reader"},
    };
    for (const auto& command : commands) {
      SCOPED_TRACE(command.front() + " " + bad.conninfo);
      Finished refused = Host(command, "owner pw").wait();
      EXPECT_EQ(refused.status, 1);
      EXPECT_EQ(refused.err, "{\"error\":{\"message\":\"" + std::string(bad.message) + "\"}}\n");
      EXPECT_EQ(refused.err.find("Zq7"), std::string::npos);
    }
  }
}

}  // namespace
