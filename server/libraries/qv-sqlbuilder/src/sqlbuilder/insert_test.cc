#include "sqlbuilder/insert.h"

#include <gtest/gtest.h>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/render.h"

namespace sqlbuilder {
namespace {

Insert system_row(const char* name, const char* value) {
  Insert insert;
  insert.into("quorvale_system").columns({"name", "value"}).values({val(name), val(value)});
  return insert;
}

TEST(Insert, SeedRowInline) {
  EXPECT_EQ(to_sql(system_row("quorvale_version", "2")),
            R"(INSERT INTO "quorvale_system" ("name", "value") VALUES ('quorvale_version', '2'))");
}

TEST(Insert, UpsertInBothModes) {
  Insert insert = system_row("db_version", "13");
  insert.on_conflict(OnConflict({"name"}).update_columns({"value"}));
  const Built built = build(insert);
  EXPECT_EQ(built.sql, R"(INSERT INTO "quorvale_system" ("name", "value") VALUES ($1, $2) )"
                       R"(ON CONFLICT ("name") DO UPDATE SET "value" = "excluded"."value")");
  EXPECT_EQ(built.values, (std::vector<Value>{"db_version", "13"}));
  EXPECT_EQ(to_sql(insert), R"(INSERT INTO "quorvale_system" ("name", "value") VALUES ('db_version', '13') )"
                            R"(ON CONFLICT ("name") DO UPDATE SET "value" = "excluded"."value")");
}

TEST(Insert, Forms) {
  Select source;
  source.with("s", Select().expr_as(val("a"), "k").expr_as(val(1), "v")).expr(col("k")).expr(col("v")).from("s");
  struct {
    Insert insert;
    const char* sql;
    const char* parameters;
    std::vector<Value> values;
  } cases[] = {
      {std::move(
           Insert().into("t").columns({"a", "b"}).values({val(1), val(Null{})}).values({val(true), custom("now()")})),
       R"(INSERT INTO "t" ("a", "b") VALUES (1, NULL), (true, now()))",
       R"(INSERT INTO "t" ("a", "b") VALUES ($1, $2), ($3, now()))",
       {1, Null{}, true}},
      {std::move(Insert().into("t").columns({"k", "v"}).select_from(source)),
       R"(INSERT INTO "t" ("k", "v") WITH "s" AS (SELECT 'a' AS "k", 1 AS "v") SELECT "k", "v" FROM "s")",
       R"(INSERT INTO "t" ("k", "v") WITH "s" AS (SELECT $1 AS "k", $2 AS "v") SELECT "k", "v" FROM "s")",
       {"a", 1}},
      {std::move(Insert().into("t").columns({"k"}).values({val("x")}).on_conflict(OnConflict({"k"}).do_nothing())),
       R"(INSERT INTO "t" ("k") VALUES ('x') ON CONFLICT ("k") DO NOTHING)",
       R"(INSERT INTO "t" ("k") VALUES ($1) ON CONFLICT ("k") DO NOTHING)",
       {"x"}},
      {std::move(
           Insert()
               .into("t")
               .columns({"k", "a", "b", "c"})
               .values({val("x"), val(1), val(2), val(3)})
               .on_conflict(OnConflict({"k"}).update_columns({"a", "b"}).update_value("c", col("t", "c").add(val(1))))),
       R"(INSERT INTO "t" ("k", "a", "b", "c") VALUES ('x', 1, 2, 3) ON CONFLICT ("k") )"
       R"(DO UPDATE SET "a" = "excluded"."a", "b" = "excluded"."b", "c" = "t"."c" + 1)",
       R"(INSERT INTO "t" ("k", "a", "b", "c") VALUES ($1, $2, $3, $4) ON CONFLICT ("k") )"
       R"(DO UPDATE SET "a" = "excluded"."a", "b" = "excluded"."b", "c" = "t"."c" + $5)",
       {"x", 1, 2, 3, 1}},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.sql);
    EXPECT_EQ(to_sql(test_case.insert), test_case.sql);
    const Built built = build(test_case.insert);
    EXPECT_EQ(built.sql, test_case.parameters);
    EXPECT_EQ(built.values, test_case.values);
  }
}

TEST(Insert, DefectsAreBuildErrors) {
  struct {
    Insert insert;
    const char* message;
  } cases[] = {
      {std::move(Insert().into("t").columns({"a", "b"}).values({val(1)})),
       "Insert values count does not match columns count"},
      {std::move(Insert().into("t").columns({"a"}).values({val(1)}).values({val(1), val(2)})),
       "Insert values count does not match columns count"},
      {std::move(Insert().into("t").columns({"a", "b"}).select_from(Select().expr(col("a")))),
       "Insert select width does not match columns count"},
      {std::move(Insert().into("t").columns({"a"})), "Insert needs either values or a select"},
      {std::move(Insert().into("t").columns({"a"}).values({val(1)}).select_from(Select().expr(col("a")))),
       "Insert needs either values or a select"},
      {std::move(Insert().columns({"a"}).values({val(1)})), "Insert has no table"},
      {std::move(Insert().into("t").columns({"a"}).values({val(1)}).on_conflict(OnConflict({"a"}))),
       "On conflict needs either updates or do nothing"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.message);
    try {
      to_sql(test_case.insert);
      ADD_FAILURE() << "no error";
    } catch (const BuildError& e) {
      EXPECT_STREQ(e.what(), test_case.message);
    }
    EXPECT_THROW(build(test_case.insert), BuildError);
  }
}

}  // namespace
}  // namespace sqlbuilder
