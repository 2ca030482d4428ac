#pragma once

// Statement outcomes and query results as plain texts, for comparisons in
// tests on an installed schema.

#include <string>
#include <string_view>
#include <vector>

#include "connection/connection.h"

namespace schema::test_support {

// "ok", or the failed statement's SQLSTATE and primary message, e.g.
// "23505: duplicate key value violates unique constraint \"roles___name___uidx\"".
std::string outcome(connection::Connection& session, std::string_view sql);

// Every row of the result, its values joined with "|" and NULL written "NULL";
// one element "error: ..." when the query fails.
std::vector<std::string> query_rows(connection::Connection& session, std::string_view sql);

}  // namespace schema::test_support
