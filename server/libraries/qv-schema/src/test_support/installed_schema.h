#pragma once

// A test database with the current schema installed, the way the database
// layer installs a fresh schema: in the home schema "qv_apiserver", in one
// transaction, as the server's superuser. The group role of row-level
// security, "qv_across_projects", is shared by every test of the server.

#include <optional>
#include <string>
#include <vector>

#include "connection/connection.h"
#include "test_support/database_fixture.h"

namespace schema::test_support {

inline constexpr const char* kHomeSchema = "qv_apiserver";

class InstalledSchemaFixture : public ::test_support::DatabaseFixture {
 protected:
  void SetUp() override;
  // What runs in the home schema, in the install transaction: the system
  // table and the install batch of the current schema.
  virtual std::vector<std::string> install_texts() const;

  // A session of the test database whose search_path is the home schema.
  connection::Connection& db() { return *session_; }
  // The test database's connection string with the home schema as search_path.
  std::string home_conninfo() const;

 private:
  std::optional<connection::Connection> session_;
};

// Creates "qv_across_projects" unless it exists, tolerating a concurrent
// creation by another test.
void ensure_across_projects_role(connection::Connection& server);

// Runs each text on `session`, failing the test at the first error.
void run_texts(connection::Connection& session, const std::vector<std::string>& texts);

}  // namespace schema::test_support
