#pragma once
// A database of its own on the test server for each test that runs the
// catalog's statements on small tables.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "connection/connection.h"
#include "test_support/database_fixture.h"

namespace schema::testing {

class ScratchDatabase : public test_support::DatabaseFixture {
 protected:
  void SetUp() override {
    DatabaseFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    auto opened = connection::connect(conninfo());
    ASSERT_TRUE(opened) << connection::describe(opened.error());
    connection_.emplace(std::move(opened).value());
  }

  connection::Connection& connection() { return *connection_; }

  // Runs the texts in order; the test fails at the first error, naming the text.
  void run(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
      auto done = connection_->execute_script(text);
      ASSERT_TRUE(done) << connection::describe(done.error()) << "\nin: " << text;
    }
  }
  void run(std::string_view text) { run(std::vector<std::string>{std::string(text)}); }

  // The first column of the first row as text ("NULL", "no row", "error: ...").
  std::string value(std::string_view sql) { return test_support::query_value(*connection_, sql); }

 private:
  std::optional<connection::Connection> connection_;
};

}  // namespace schema::testing
