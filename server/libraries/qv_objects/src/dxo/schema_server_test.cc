// Every registered projection reads a relation of the current schema, and
// every column it selects exists there: a renamed table or column in the
// catalog fails here.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dao_registry/registered_dao.h"
#include "test_support/installed_schema.h"

namespace dxo {
namespace {

class ProjectionSchemaTest : public schema::test_support::InstalledSchemaFixture {};

std::set<std::string> columns_of(connection::Connection& db, const std::string& relation) {
  const auto result = db.execute(
      "SELECT column_name FROM information_schema.columns WHERE table_schema = $1 AND table_name = $2",
      {std::string(schema::test_support::kHomeSchema), relation});
  std::set<std::string> columns;
  if (!result) {
    ADD_FAILURE() << connection::describe(result.error());
    return columns;
  }
  for (int row = 0; row < result->row_count(); ++row) columns.emplace(*result->value(row, 0));
  return columns;
}

TEST_F(ProjectionSchemaTest, EveryProjectionReadsExistingColumns) {
  const std::vector<dao_registry::DaoProjection> projections = dao_registry::registered_projections();
  ASSERT_FALSE(projections.empty()) << "the registrations were not linked in";
  for (const dao_registry::DaoProjection& projection : projections) {
    const std::set<std::string> existing = columns_of(db(), projection.table);
    ASSERT_FALSE(existing.empty()) << projection.name << ": no relation \"" << projection.table << "\"";
    for (const std::string& column : projection.columns) {
      EXPECT_TRUE(existing.contains(column)) << projection.name << ": \"" << projection.table << "\" has no column \""
                                             << column << "\"";
    }
  }
}

}  // namespace
}  // namespace dxo
