#pragma once

// The base fixture of the schema_host tests: the arguments of each operation
// for this test's names and for deployments of their own, one process per
// call, what the test has created, and waiting for the test database's
// sessions to reach a state.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "host_process.h"
#include "test_support/schema_fixture.h"

namespace schema_host_test {

// The start of the error line of a refusal that a provisioning or upgrade
// statement raised.
inline const std::string kStatementFailed =
    "{\"error\":{\"code\":5008,\"message\":\"Database statement failed: ERROR P0001: ";

class SchemaHostFixture : public test_support::SchemaFixture {
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
  // `arguments` with the value of one option replaced.
  static std::vector<std::string> with_option(std::vector<std::string> arguments, const std::string& option,
                                              const std::string& value) {
    auto found = std::find(arguments.begin(), arguments.end(), option);
    EXPECT_NE(found, arguments.end()) << option;
    if (found != arguments.end()) *std::next(found) = value;
    return arguments;
  }
  // The superuser's provisioning with the value of one option replaced.
  std::vector<std::string> provision_args_with(const std::string& option, const std::string& value) const {
    return with_option(provision_args(conninfo()), option, value);
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
  // The arguments of `command` (provision or upgrade) for a deployment of
  // its own in `schema`: the roles of this test named `name`_owner,
  // `name`_in and `name`_across.
  std::vector<std::string> deployment_args(const std::string& command, const std::string& admin,
                                           const std::string& schema, const std::string& name) const {
    std::vector<std::string> arguments = command == "provision" ? provision_args(admin) : upgrade_args(admin);
    if (command == "provision") arguments = with_option(arguments, "--owner", role_name(name + "_owner"));
    arguments = with_option(arguments, "--schema", schema);
    arguments = with_option(arguments, "--in-project", role_name(name + "_in"));
    return with_option(arguments, "--across", role_name(name + "_across"));
  }
  // Provisions and upgrades that deployment as the superuser of `admin`.
  void deploy(const std::string& admin, const std::string& schema, const std::string& name) {
    for (const std::string command : {"provision", "upgrade"}) {
      Finished done = host(deployment_args(command, admin, schema, name));
      ASSERT_EQ(done.status, 0) << command << ": " << done.err;
    }
  }

  // The roles of this test, by name.
  std::string test_roles() {
    return value(
        "SELECT coalesce(string_agg(rolname, ',' ORDER BY rolname), 'none') FROM pg_roles WHERE "
        "starts_with(rolname, '" +
        database_name() + "')");
  }
  std::string home_schemas() { return value("SELECT count(*) FROM pg_namespace WHERE nspname = 'qv_apiserver'"); }

  // Waits until `count_sql`, asked in a session of its own, gives `expected`;
  // false when it does not within a minute. (Not asked from inside a
  // holder's transaction, which would see one snapshot of the activity.)
  bool eventually(const std::string& count_sql, const std::string& expected) {
    connection::Connection observer = session();
    for (int attempt = 0; attempt < 6000; ++attempt) {
      if (test_support::query_value(observer, count_sql) == expected) return true;
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }
  // A session of the test database waits for a lock.
  bool upgrade_waits() {
    return eventually(
        "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND wait_event_type = 'Lock'", "1");
  }
  // Every other session of the test database is idle outside a transaction,
  // or gone: the orphaned session of an upgrade has ended.
  bool sessions_gone() {
    return eventually(
        "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid() AND "
        "state <> 'idle'",
        "0");
  }
};

}  // namespace schema_host_test
