#pragma once

// The base of every test on the throwaway test server that scripts/pg_server.sh
// starts. The server's connection string comes from QV_TEST_PG; without it the
// test is skipped, or fails under CI (CI set and not empty). Each test gets a
// database of its own, dropped afterwards, so tests can run in parallel.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "connection/connection.h"

namespace test_support {

class DatabaseFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The test's own database, as the server's superuser.
  const std::string& conninfo() const { return conninfo_; }
  // The same with some settings replaced, e.g. {{"user", "x"}, {"password", "y"}}.
  std::string conninfo_with(const connection::Settings& settings) const;
  // The server's database postgres, as its superuser.
  const std::string& server_conninfo() const { return server_conninfo_; }
  const std::string& database_name() const { return database_; }
  // The certificate of the CA that signed the server's certificate (QV_TEST_PG_CA).
  const std::string& server_ca() const { return server_ca_; }

  // A role name of this test alone; the roles so named are dropped after the
  // test, with the database.
  std::string role_name(std::string_view suffix) const { return database_ + "_" + std::string(suffix); }

 private:
  void drop_roles(connection::Connection& server);

  std::string server_conninfo_;
  std::string server_ca_;
  std::string database_;
  std::string conninfo_;
};

// The first column of the first row as text, for comparisons in tests: "NULL",
// "no row", or "error: " and the error's description when it fails.
std::string query_value(connection::Connection& connection, std::string_view sql,
                        const std::vector<connection::Param>& params = {});

}  // namespace test_support
