#include "schema/deltas/v4_to_v5.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "schema/archive/v4/entities.h"
#include "sqlbuilder/column.h"

namespace schema::deltas::v4_to_v5 {
namespace {

using Texts = std::vector<std::string>;
using sqlbuilder::ColumnDef;
using sqlbuilder::TableCreate;

const char* const kProjectScoped[] = {
    "groups",
    "connections",
    "collections",
    "bundles",
    "functions",
    "function_patches",
    "tables",
    "dependencies",
    "triggers",
    "executions",
    "transactions",
    "physical_function_runs",
    "physical_table_data_versions",
    "table_partitions",
    "workers",
    "logical_function_runs",
    "logical_table_data_versions",
    "logical_function_run_inputs",
};

class Tables final : public entity::Entity {
 public:
  explicit Tables(std::vector<TableCreate> tables) : tables_(std::move(tables)) {}
  std::vector<TableCreate> create_tables() const override { return tables_; }

 private:
  std::vector<TableCreate> tables_;
};

TableCreate table(const char* name, std::vector<const char*> columns) {
  TableCreate create;
  if (*name != '\0') create.table(name);
  for (const char* column : columns) create.col(ColumnDef(column).text());
  return create;
}

TEST(V4ToV5IdColumns, ConvertsColumnsNamedIdOrEndingInIdInDeclarationOrder) {
  const Tables first({table("a", {"name", "owner_id", "id", "idx", "id_kind", "_id"}), table("b", {"name"})});
  const Tables second({table("c", {"c_id"})});
  const entity::Entity* const entities[] = {&first, &second};
  EXPECT_EQ(id_columns(entities),
            (Texts{
                R"sql(ALTER TABLE "a" ALTER COLUMN "owner_id" TYPE text COLLATE "C", ALTER COLUMN "id" TYPE text )sql"
                R"sql(COLLATE "C", ALTER COLUMN "_id" TYPE text COLLATE "C")sql",
                R"sql(ALTER TABLE "c" ALTER COLUMN "c_id" TYPE text COLLATE "C")sql",
            }));
}

TEST(V4ToV5IdColumnsDeathTest, TableWithoutNameStopsTheProgram) {
  const Tables unnamed({table("", {"id"})});
  const entity::Entity* const entities[] = {&unnamed};
  EXPECT_DEATH(id_columns(entities), "CREATE TABLE on an unexpected table reference");
}

TEST(V4ToV5, PoliciesDroppedAroundTheVersionFourIdColumns) {
  Texts expected;
  for (const std::string table : kProjectScoped) {
    expected.push_back("DROP POLICY project_isolation ON " + table);
    expected.push_back("DROP POLICY across_projects ON " + table);
  }
  const Texts columns = id_columns(archive::v4::v4_entities());
  expected.insert(expected.end(), columns.begin(), columns.end());
  for (const std::string table : kProjectScoped) {
    expected.push_back("CREATE POLICY project_isolation ON " + table +
                       " USING (project_id = current_setting('app.project_id', true)) WITH CHECK (project_id = "
                       "current_setting('app.project_id', true))");
    expected.push_back("CREATE POLICY across_projects ON " + table +
                       " TO qv_across_projects USING (true) WITH CHECK (true)");
  }
  expected.push_back("UPDATE quorvale_system SET value = '5' WHERE name = 'db_version'");
  const source::Delta step = delta();
  EXPECT_EQ(step.up, expected);
  EXPECT_TRUE(step.retired.empty());
}

TEST(V4ToV5, VersionFourUsers) {
  const Texts columns = id_columns(archive::v4::v4_entities());
  const std::string users =
      R"sql(ALTER TABLE "users" ALTER COLUMN "id" TYPE text COLLATE "C", ALTER COLUMN "created_by_id" TYPE text )sql"
      R"sql(COLLATE "C", ALTER COLUMN "modified_by_id" TYPE text COLLATE "C")sql";
  EXPECT_NE(std::find(columns.begin(), columns.end(), users), columns.end());
}

}  // namespace
}  // namespace schema::deltas::v4_to_v5
