#include "sqlbuilder/select.h"

#include <gtest/gtest.h>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/render.h"

namespace sqlbuilder {
namespace {

Select users() { return std::move(Select().expr(col("id")).from("users")); }

TEST(Select, Clauses) {
  struct {
    Select select;
    const char* expect;
  } cases[] = {
      {Select().expr(col("id")).expr_as(col("name"), "n").from("users"), R"(SELECT "id", "name" AS "n" FROM "users")"},
      {Select().expr(asterisk("u")).from_as("users", "u"), R"(SELECT "u".* FROM "users" AS "u")"},
      {Select().expr(col("rolname")).from_in_schema("pg_catalog", "pg_roles"),
       R"(SELECT "rolname" FROM "pg_catalog"."pg_roles")"},
      {Select().distinct().expr(col("kind")).from("groups"), R"(SELECT DISTINCT "kind" FROM "groups")"},
      {Select().expr(custom("current_user")), "SELECT current_user"},
      {Select().expr(asterisk()).from_subquery(users(), "s"), R"(SELECT * FROM (SELECT "id" FROM "users") AS "s")"},
      {Select().expr(col("id")).from("users").and_where(col("a").or_(col("b"))).and_where(col("c")),
       R"(SELECT "id" FROM "users" WHERE ("a" OR "b") AND "c")"},
      {Select()
           .expr(col("kind"))
           .expr_as(func("count", {asterisk()}), "n")
           .from("groups")
           .group_by(col("kind"))
           .group_by(col("project_id"))
           .and_having(func("count", {asterisk()}).gt(val(1)))
           .and_having(col("kind").ne(val("x"))),
       R"(SELECT "kind", count(*) AS "n" FROM "groups" GROUP BY "kind", "project_id" HAVING count(*) > 1 AND "kind" <> 'x')"},
      {Select().expr(col("id")).from("users").order_by(col("name")).order_by(col("id"), Order::Desc).limit(10),
       R"(SELECT "id" FROM "users" ORDER BY "name", "id" DESC LIMIT 10)"},
      {Select().expr(col("id")).from("users").and_where(col("id").in(users())),
       R"(SELECT "id" FROM "users" WHERE "id" IN (SELECT "id" FROM "users"))"},
      {Select().expr_as(subquery(users().limit(1)), "first"),
       R"(SELECT (SELECT "id" FROM "users" LIMIT 1) AS "first")"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.select), test_case.expect);
  }
}

TEST(Select, Joins) {
  const Expr on = col("u", "id").eq(col("s", "user_id"));
  struct {
    Select select;
    const char* expect;
  } cases[] = {
      {Select()
           .expr(asterisk())
           .from_as("sessions", "s")
           .join(JoinType::Inner, "users", col("users", "id").eq(col("s", "user_id"))),
       R"(SELECT * FROM "sessions" AS "s" INNER JOIN "users" ON "users"."id" = "s"."user_id")"},
      {Select().expr(asterisk()).from_as("sessions", "s").join_as(JoinType::Left, "users", "u", on),
       R"(SELECT * FROM "sessions" AS "s" LEFT JOIN "users" AS "u" ON "u"."id" = "s"."user_id")"},
      {Select().expr(asterisk()).from_as("sessions", "s").join_as(JoinType::Right, "users", "u", on),
       R"(SELECT * FROM "sessions" AS "s" RIGHT JOIN "users" AS "u" ON "u"."id" = "s"."user_id")"},
      {Select().expr(asterisk()).from_as("sessions", "s").join_as(JoinType::Full, "users", "u", on),
       R"(SELECT * FROM "sessions" AS "s" FULL JOIN "users" AS "u" ON "u"."id" = "s"."user_id")"},
      {Select().expr(asterisk()).from_as("sessions", "s").join_subquery(JoinType::Left, users(), "u", on),
       R"(SELECT * FROM "sessions" AS "s" LEFT JOIN (SELECT "id" FROM "users") AS "u" ON "u"."id" = "s"."user_id")"},
      {Select().expr(asterisk()).from("a").cross_join("b").join_as(JoinType::Inner, "users", "u", on),
       R"(SELECT * FROM "a" CROSS JOIN "b" INNER JOIN "users" AS "u" ON "u"."id" = "s"."user_id")"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.select), test_case.expect);
  }
  EXPECT_THROW(Select().join(JoinType::Cross, "b", on), BuildError);
  EXPECT_THROW(Select().join_as(JoinType::Cross, "b", "c", on), BuildError);
  EXPECT_THROW(Select().join_subquery(JoinType::Cross, users(), "c", on), BuildError);
}

TEST(Select, WithAndUnionAll) {
  const Select active = std::move(Select().expr(col("id")).from("users").and_where(col("disabled").not_()));
  const Select branch_with_limit = std::move(users().order_by(col("id")).limit(1));
  struct {
    Select select;
    const char* expect;
  } cases[] = {
      {Select()
           .with("a", active)
           .with("b", users())
           .expr(col("id"))
           .from("a")
           .union_all(Select().expr(col("id")).from("b")),
       R"(WITH "a" AS (SELECT "id" FROM "users" WHERE NOT "disabled"), "b" AS (SELECT "id" FROM "users") )"
       R"(SELECT "id" FROM "a" UNION ALL SELECT "id" FROM "b")"},
      // ORDER BY and LIMIT of the first select apply to the whole union.
      {users().union_all(users()).union_all(users()).order_by(col("id")).limit(5),
       R"(SELECT "id" FROM "users" UNION ALL SELECT "id" FROM "users" UNION ALL SELECT "id" FROM "users" ORDER BY "id" LIMIT 5)"},
      {users().union_all(branch_with_limit),
       R"(SELECT "id" FROM "users" UNION ALL (SELECT "id" FROM "users" ORDER BY "id" LIMIT 1))"},
      {users().union_all(users().union_all(users())),
       R"(SELECT "id" FROM "users" UNION ALL (SELECT "id" FROM "users" UNION ALL SELECT "id" FROM "users"))"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.select), test_case.expect);
  }
}

TEST(Select, ParametersFollowTheText) {
  Select select;
  select.expr(col("value")).from("quorvale_system").and_where(col("name").eq(val("db_version")));
  Built built = build(select);
  EXPECT_EQ(built.sql, R"(SELECT "value" FROM "quorvale_system" WHERE "name" = $1)");
  EXPECT_EQ(built.values, std::vector<Value>{"db_version"});

  select.and_where(col("value").ne(val("13")));
  built = build(select);
  EXPECT_EQ(built.sql, R"(SELECT "value" FROM "quorvale_system" WHERE "name" = $1 AND "value" <> $2)");
  EXPECT_EQ(built.values, (std::vector<Value>{"db_version", "13"}));
  EXPECT_EQ(to_sql(select), R"(SELECT "value" FROM "quorvale_system" WHERE "name" = 'db_version' AND "value" <> '13')");
}

TEST(Select, ParametersAcrossNestedSelects) {
  Select select;
  select.with("w", Select().expr(val(1)))
      .expr(val("item"))
      .from_subquery(Select().expr(val(2)), "f")
      .join_subquery(JoinType::Left, Select().expr(val(3)), "j", val(true))
      .and_where(col("x").in(Select().expr(val(4))))
      .group_by(val(5))
      .and_having(val(false))
      .union_all(Select().expr(val(Null{})))
      .order_by(val(6));
  const Built built = build(select);
  EXPECT_EQ(built.sql,
            R"(WITH "w" AS (SELECT $1) SELECT $2 FROM (SELECT $3) AS "f" LEFT JOIN (SELECT $4) AS "j" ON $5 )"
            R"(WHERE "x" IN (SELECT $6) GROUP BY $7 HAVING $8 UNION ALL SELECT $9 ORDER BY $10)");
  EXPECT_EQ(built.values, (std::vector<Value>{1, "item", 2, 3, true, 4, 5, false, Null{}, 6}));
}

TEST(Select, CopiesAreIndependent) {
  Select base = users();
  Select copy = base;
  copy.and_where(col("id").eq(val("x")));
  EXPECT_EQ(to_sql(base), R"(SELECT "id" FROM "users")");
  EXPECT_EQ(to_sql(copy), R"(SELECT "id" FROM "users" WHERE "id" = 'x')");
}

TEST(Select, Width) {
  EXPECT_EQ(Select().width(), 0u);
  EXPECT_EQ(Select().expr(col("a")).expr_as(col("b"), "c").width(), 2u);
  EXPECT_EQ(Select().expr(col("a")).union_all(Select().expr(col("a")).expr(col("b"))).width(), 1u);
}

}  // namespace
}  // namespace sqlbuilder
