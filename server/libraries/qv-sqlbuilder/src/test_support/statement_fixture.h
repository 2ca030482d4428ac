#pragma once
// A database test for the statement builder: the test's own database with a
// schema "scratch" first on the search path, and helpers that run statements
// in both value modes and read their rows as texts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "connection/connection.h"
#include "sqlbuilder/render.h"
#include "sqlbuilder/value.h"
#include "test_support/database_fixture.h"

namespace test_support {

// Rows as texts, "NULL" for a NULL. A failing statement gives the one row
// {"error <SQLSTATE>: <message>"}, so that a comparison shows the error.
using Rows = std::vector<std::vector<std::string>>;

class StatementFixture : public DatabaseFixture {
 protected:
  void SetUp() override;

  connection::Connection& connection() { return *connection_; }

  // Runs statements without parameters (fixture tables); the test fails
  // when one fails.
  void script(std::string_view sql);
  Rows rows(std::string_view sql, const std::vector<sqlbuilder::Value>& values = {});
  Rows rows(const sqlbuilder::Built& built) { return rows(built.sql, built.values); }
  // The SQLSTATE of a failing statement; "" when it succeeds.
  std::string sqlstate(std::string_view sql);

  // Runs `statement` once written inline and once with parameters, each in
  // a transaction that is rolled back, and gives its rows, or with `check`
  // the rows of `check` after it. The two modes must agree: when they differ
  // the test fails and shows both.
  template <typename Statement>
  Rows in_both_modes(const Statement& statement, std::string_view check = {}) {
    return agreed(in_rolled_back_transaction({sqlbuilder::to_sql(statement), {}}, check),
                  in_rolled_back_transaction(sqlbuilder::build(statement), check));
  }

 private:
  Rows in_rolled_back_transaction(const sqlbuilder::Built& built, std::string_view check);
  static Rows agreed(Rows inline_rows, const Rows& parameter_rows);

  std::optional<connection::Connection> connection_;
};

}  // namespace test_support
