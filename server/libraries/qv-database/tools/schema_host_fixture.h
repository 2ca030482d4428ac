#pragma once

// The fixture of the schema_host tests: the arguments of each operation for
// this test's names, one process per call, and the superuser's view of the
// test database.

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
      if (test_support::query_value(observer,
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
      if (test_support::query_value(observer,
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

}  // namespace schema_host_test
