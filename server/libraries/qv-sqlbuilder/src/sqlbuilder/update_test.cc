#include "sqlbuilder/update.h"

#include <gtest/gtest.h>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/render.h"

namespace sqlbuilder {
namespace {

TEST(Update, Forms) {
  struct {
    Update update;
    const char* sql;
    const char* parameters;
    std::vector<Value> values;
  } cases[] = {
      {std::move(Update().table("users").set("email", val(Null{})).and_where(col("email").eq(val("-")))),
       R"(UPDATE "users" SET "email" = NULL WHERE "email" = '-')",
       R"(UPDATE "users" SET "email" = $1 WHERE "email" = $2)",
       {Null{}, "-"}},
      {std::move(Update().table("functions").set("function_type", val("R")).set("n", col("n").add(val(1)))),
       R"(UPDATE "functions" SET "function_type" = 'R', "n" = "n" + 1)",
       R"(UPDATE "functions" SET "function_type" = $1, "n" = "n" + $2)",
       {"R", 1}},
      {std::move(Update()
                     .table_as("groups", "g")
                     .set("kind", col("o", "kind"))
                     .from_as("old_groups", "o")
                     .and_where(col("g", "id").eq(col("o", "id")))
                     .and_where(col("o", "kind").is_not_null())),
       R"(UPDATE "groups" AS "g" SET "kind" = "o"."kind" FROM "old_groups" AS "o" )"
       R"(WHERE "g"."id" = "o"."id" AND "o"."kind" IS NOT NULL)",
       R"(UPDATE "groups" AS "g" SET "kind" = "o"."kind" FROM "old_groups" AS "o" )"
       R"(WHERE "g"."id" = "o"."id" AND "o"."kind" IS NOT NULL)",
       {}},
      {std::move(Update().table("t").set("a", val(1)).from("s")),
       R"(UPDATE "t" SET "a" = 1 FROM "s")",
       R"(UPDATE "t" SET "a" = $1 FROM "s")",
       {1}},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.sql);
    EXPECT_EQ(to_sql(test_case.update), test_case.sql);
    const Built built = build(test_case.update);
    EXPECT_EQ(built.sql, test_case.parameters);
    EXPECT_EQ(built.values, test_case.values);
  }
}

// The shape of a summary backfill: a CASE over filtered counts, a grouped
// FROM subquery, and IS DISTINCT FROM guards.
TEST(Update, FromGroupedSubquery) {
  const Expr count_all = func("count", {col("children", "status")});
  const Expr status =
      Case()
          .when(func("count", {asterisk()}).filter(col("children", "status").in({val("S"), val("F")})).eq(count_all),
                val("S"))
          .otherwise(val("R"))
          .end();
  Select summary;
  summary.expr_as(col("parents", "id"), "id")
      .expr_as(status, "status")
      .from_as("runs", "parents")
      .join_as(JoinType::Left, "attempts", "children", col("children", "run_id").eq(col("parents", "id")))
      .group_by(col("parents", "id"));
  Update update;
  update.table_as("runs", "target")
      .set("status", col("summary", "status"))
      .from_subquery(summary, "summary")
      .and_where(col("target", "id").eq(col("summary", "id")))
      .and_where(col("target", "status").is_distinct_from(col("summary", "status")).or_(col("target", "x").is_null()));
  const char* expect =
      R"(UPDATE "runs" AS "target" SET "status" = "summary"."status" FROM (SELECT "parents"."id" AS "id", )"
      R"(CASE WHEN count(*) FILTER (WHERE "children"."status" IN ('S', 'F')) = count("children"."status") )"
      R"(THEN 'S' ELSE 'R' END AS "status" FROM "runs" AS "parents" LEFT JOIN "attempts" AS "children" )"
      R"(ON "children"."run_id" = "parents"."id" GROUP BY "parents"."id") AS "summary" )"
      R"(WHERE "target"."id" = "summary"."id" AND ("target"."status" IS DISTINCT FROM "summary"."status" )"
      R"(OR "target"."x" IS NULL))";
  EXPECT_EQ(to_sql(update), expect);
  EXPECT_EQ(build(update).values, (std::vector<Value>{"S", "F", "S", "R"}));
}

TEST(Update, DefectsAreBuildErrors) {
  EXPECT_THROW(to_sql(Update().table("t")), BuildError);
  EXPECT_THROW(to_sql(Update().set("a", val(1))), BuildError);
}

}  // namespace
}  // namespace sqlbuilder
