#include "schema/render.h"

#include <gtest/gtest.h>

#include "schema/sql/column.h"
#include "schema/sql/scd2.h"

namespace schema::render {
namespace {

TEST(UpdateDbVersion, WritesTheVersionAsQuotedText) {
  EXPECT_EQ(update_db_version(13), "UPDATE quorvale_system SET value = '13' WHERE name = 'db_version'");
  EXPECT_EQ(update_db_version(2), "UPDATE quorvale_system SET value = '2' WHERE name = 'db_version'");
}

TEST(NameOrId, WritesBareIdentifiers) {
  const sqlbuilder::Expr expression = name_or_id("created_by_user", "name", "users", "created_by_id");
  EXPECT_EQ(sqlbuilder::to_sql(expression), "COALESCE(created_by_user.name, '[' || users.created_by_id || ']')");
}

TEST(JsonObjectAgg, FallsBackToAnEmptyObject) {
  EXPECT_EQ(json_object_agg("inner_fr.status", "inner_fr.count"),
            "COALESCE(jsonb_object_agg(inner_fr.status, inner_fr.count), '{}'::jsonb)");
}

TEST(OpenInterval, ComparesValidToWithInfinity) {
  EXPECT_EQ(sqlbuilder::to_sql(sql::scd2::open_interval()), "\"valid_to\" = 'infinity'::timestamptz");
}

TEST(RenderSchema, IdColumnWritesTheCollationLast) {
  sqlbuilder::TableCreate table;
  // The constraints are set before the type's collation would be; the
  // collation still comes last.
  table.table("t").col(sql::id_column("id").not_null().primary_key());
  EXPECT_EQ(render_schema(table), "CREATE TABLE \"t\" ( \"id\" text NOT NULL PRIMARY KEY COLLATE \"C\" )");
}

TEST(RenderSchema, LogicalIdColumnIsBareBigint) {
  sqlbuilder::TableCreate table;
  table.table("t").col(sql::logical_id_column("run_id").not_null());
  EXPECT_EQ(render_schema(table), "CREATE TABLE \"t\" ( \"run_id\" bigint NOT NULL )");
}

TEST(RenderQuery, WritesValuesInline) {
  sqlbuilder::Update update;
  update.table("t")
      .set("a", sqlbuilder::val(std::string("it's")))
      .and_where(sqlbuilder::col("b").eq(sqlbuilder::val(7)));
  EXPECT_EQ(render_query(update), "UPDATE \"t\" SET \"a\" = 'it''s' WHERE \"b\" = 7");
}

}  // namespace
}  // namespace schema::render
