#pragma once

// A login role of the kind the API server serves with: neither superuser nor
// BYPASSRLS, so row-level security applies to it.

#include <string>

#include "connection/connection.h"

namespace schema::test_support {

// Creates `role` with LOGIN and `password`, grants it USAGE on the home schema
// and SELECT, INSERT, UPDATE and DELETE on every table and view in it. Fails
// the test when a statement fails.
void create_serving_role(connection::Connection& session, const std::string& role, const std::string& password);

}  // namespace schema::test_support
