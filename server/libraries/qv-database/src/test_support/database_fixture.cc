#include "test_support/database_fixture.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <random>

#include "connection/connection.h"

namespace test_support {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// Unique on the server: the process id tells apart the test processes of one
// run, the random part those of runs that reuse a process id.
std::string fresh_database_name() {
  static std::atomic<int> counter = 0;
  std::random_device random;
  return "qv_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + "_" +
         std::to_string(random() % 1'000'000);
}

}  // namespace

void DatabaseFixture::SetUp() {
  server_conninfo_ = environment("QV_TEST_PG");
  if (server_conninfo_.empty()) {
    if (!environment("CI").empty()) FAIL() << "QV_TEST_PG is not set: run the tests through scripts/pg_server.sh run";
    GTEST_SKIP() << "QV_TEST_PG is not set: no PostgreSQL server for the database tests "
                    "(run them through scripts/pg_server.sh run)";
  }
  server_ca_ = environment("QV_TEST_PG_CA");

  auto server = connection::connect(server_conninfo_);
  ASSERT_TRUE(server) << connection::describe(server.error());
  database_ = fresh_database_name();
  auto created = server->execute_script("CREATE DATABASE " + database_);
  ASSERT_TRUE(created) << connection::describe(created.error());
  conninfo_ = conninfo_with({});
}

void DatabaseFixture::TearDown() {
  if (database_.empty()) return;
  auto server = connection::connect(server_conninfo_);
  ASSERT_TRUE(server) << connection::describe(server.error());
  auto dropped = server->execute_script("DROP DATABASE IF EXISTS " + database_ + " WITH (FORCE)");
  EXPECT_TRUE(dropped) << connection::describe(dropped.error());
  drop_roles(*server);
}

void DatabaseFixture::drop_roles(connection::Connection& server) {
  auto roles = server.execute("SELECT rolname FROM pg_roles WHERE starts_with(rolname, $1)",
                              {database_ + "_"});
  ASSERT_TRUE(roles) << connection::describe(roles.error());
  for (int row = 0; row < roles->row_count(); ++row) {
    std::string role(*roles->value(row, 0));
    auto dropped = server.execute_script("DROP ROLE IF EXISTS " + role);
    EXPECT_TRUE(dropped) << connection::describe(dropped.error());
  }
}

std::string DatabaseFixture::conninfo_with(const connection::Settings& settings) const {
  auto parsed = connection::parse_conninfo(server_conninfo_);
  if (!parsed) return server_conninfo_;  // SetUp has failed to connect already
  connection::set_setting(*parsed, "dbname", database_);
  for (const auto& [keyword, value] : settings) connection::set_setting(*parsed, keyword, value);
  return connection::render_conninfo(*parsed);
}

std::string query_value(connection::Connection& connection, std::string_view sql,
                        const std::vector<connection::Param>& params) {
  auto result = connection.execute(sql, params);
  if (!result) return "error: " + connection::describe(result.error());
  if (result->row_count() == 0) return "no row";
  return std::string(result->value(0, 0).value_or("NULL"));
}

}  // namespace test_support
