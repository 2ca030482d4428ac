#pragma once

// Insert statements of small rows of the current schema, for tests on an
// installed schema. Each table has one typical row: project "p1", its group
// "g1" and collection "c1", bundle "b1", function "f1" with version id 1, and
// so on, created by the seeded system user. A test names only the columns it
// cares about. Project-scoped rows carry "p1" explicitly, so they insert as
// the superuser without a project setting.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace schema::test_support {

inline constexpr const char* kSystemUserId = "00000000000000000000000000";
inline constexpr const char* kAdministratorId = "00000000000000000000000004";

// Column names with SQL expressions: literals, NULL, DEFAULT, CURRENT_TIMESTAMP.
using Values = std::vector<std::pair<std::string, std::string>>;

// INSERT INTO `table` naming every column of its typical row in table order,
// with `values` in place of the typical ones. A column the table's typical row
// lacks, or a table without one, stops the test program (a fault of the test).
std::string insert_row(std::string_view table, const Values& values = {});

// The rows a collection needs: project "p1", group "g1" and collection "c1".
std::vector<std::string> collection_chain();

}  // namespace schema::test_support
