#pragma once
// A database test with one open session on the test's own database, and
// short forms of what the catalog's server tests do with it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "connection/connection.h"
#include "test_support/database_fixture.h"

namespace test_support {

class SessionFixture : public DatabaseFixture {
 protected:
  void SetUp() override;

  connection::Connection& session() { return *session_; }

  // Runs `sql` (one or more statements); a failure fails the test.
  void run(std::string_view sql);
  void run(const std::vector<std::string>& texts);

  // "ok" when `sql` runs, otherwise the server's primary message.
  std::string outcome(std::string_view sql);

  // The group role of the row-level-security policies, which the database
  // layer provisions once per server.
  void ensure_across_projects_role();

  // The rows of a query as "a|b" texts, NULL as "NULL".
  std::vector<std::string> rows(std::string_view sql);
  // The first column of the first row as text ("NULL", "no row", "error: ...").
  std::string value(std::string_view sql) { return query_value(*session_, sql); }

 private:
  std::optional<connection::Connection> session_;
};

}  // namespace test_support
