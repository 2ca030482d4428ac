#include "schema/sql/seed.h"

#include <gtest/gtest.h>

#include "sqlbuilder/render.h"

namespace schema::sql::seed {
namespace {

sqlbuilder::Select role_ids() {
  sqlbuilder::Select rows;
  rows.expr(sqlbuilder::col("roles", "id")).from("roles");
  return rows;
}

TEST(SeedInsertSelect, InsertsTheRowsOfTheSelect) {
  EXPECT_EQ(sqlbuilder::to_sql(insert_select("grants", {"role_id"}, role_ids())),
            R"sql(INSERT INTO "grants" ("role_id") SELECT "roles"."id" FROM "roles")sql");
}

TEST(SeedInsertSelectDeathTest, StopsWhenTheWidthDiffersFromTheColumns) {
  EXPECT_DEATH(insert_select("grants", {"role_id", "fixed"}, role_ids()), "select_from on seed InsertStatement");
}

}  // namespace
}  // namespace schema::sql::seed
