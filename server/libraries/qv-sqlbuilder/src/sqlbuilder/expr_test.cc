#include "sqlbuilder/expr.h"

#include <gtest/gtest.h>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/render.h"

namespace sqlbuilder {
namespace {

// The expression in parameter mode, as the only item of a select.
Built build_expr(const Expr& e) {
  Built built = build(Select().expr(e));
  built.sql.erase(0, std::string("SELECT ").size());
  return built;
}

TEST(Expr, Atoms) {
  struct {
    Expr expr;
    const char* expect;
  } cases[] = {
      {col("name"), R"("name")"},
      {col("users", "name"), R"("users"."name")"},
      {col(R"(odd"name)"), R"("odd""name")"},
      {asterisk(), "*"},
      {asterisk("users"), R"("users".*)"},
      {custom("'infinity'::timestamptz"), "'infinity'::timestamptz"},
      {func("count", {asterisk()}), "count(*)"},
      {func("COALESCE", {col("a"), col("b")}), R"(COALESCE("a", "b"))"},
      {func("now", {}), "now()"},
      {tuple({col("a"), col("b")}), R"(("a", "b"))"},
      {subquery(Select().expr(col("id")).from("users")), R"((SELECT "id" FROM "users"))"},
      {col("valid_to").eq(custom("'infinity'::timestamptz")), R"("valid_to" = 'infinity'::timestamptz)"},
      {cast(func("f", {col("a")}), "int"), R"(CAST(f("a") AS int))"},
      {cast(col("a").add(col("b")), "bigint").eq(col("c")), R"(CAST("a" + "b" AS bigint) = "c")"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.expr), test_case.expect);
  }
}

TEST(Expr, ValuesInlineAndAsParameters) {
  struct {
    Value value;
    const char* literal;
  } cases[] = {
      {Null{}, "NULL"},
      {"db_version", "'db_version'"},
      {"it's", "'it''s'"},
      {"", "''"},
      {std::int32_t{42}, "42"},
      {std::int32_t{-7}, "-7"},
      {std::int64_t{9000000000}, "9000000000"},
      {true, "true"},
      {false, "false"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.literal);
    EXPECT_EQ(to_sql(val(test_case.value)), test_case.literal);
    const Built built = build_expr(val(test_case.value));
    EXPECT_EQ(built.sql, "$1");
    EXPECT_EQ(built.values, std::vector<Value>{test_case.value});
  }
}

TEST(Expr, TextArgumentIsText) {
  EXPECT_TRUE(std::holds_alternative<std::string>(Value("x")));
  EXPECT_TRUE(std::holds_alternative<std::int32_t>(Value(1)));
  EXPECT_TRUE(std::holds_alternative<std::int64_t>(Value(std::int64_t{1})));
}

TEST(Expr, ParametersAreNumberedInOrderOfAppearance) {
  const Expr e = Case()
                     .when(col("a").eq(val("x")), val(1))
                     .when(col("b").in({val("y"), val(Null{})}), val(true))
                     .otherwise(func("f", {val(std::int64_t{5})}))
                     .end();
  const Built built = build_expr(e);
  EXPECT_EQ(built.sql, R"(CASE WHEN "a" = $1 THEN $2 WHEN "b" IN ($3, $4) THEN $5 ELSE f($6) END)");
  EXPECT_EQ(built.values, (std::vector<Value>{"x", 1, "y", Null{}, true, std::int64_t{5}}));
  EXPECT_EQ(to_sql(e), R"(CASE WHEN "a" = 'x' THEN 1 WHEN "b" IN ('y', NULL) THEN true ELSE f(5) END)");
}

TEST(Expr, Operators) {
  const Expr a = col("a");
  const Expr b = col("b");
  struct {
    Expr expr;
    const char* expect;
  } cases[] = {
      {a.eq(b), R"("a" = "b")"},
      {a.ne(b), R"("a" <> "b")"},
      {a.lt(b), R"("a" < "b")"},
      {a.le(b), R"("a" <= "b")"},
      {a.gt(b), R"("a" > "b")"},
      {a.ge(b), R"("a" >= "b")"},
      {a.is_null(), R"("a" IS NULL)"},
      {a.is_not_null(), R"("a" IS NOT NULL)"},
      {a.is_distinct_from(b), R"("a" IS DISTINCT FROM "b")"},
      {a.in({val(1), val(2)}), R"("a" IN (1, 2))"},
      {a.not_in({val("x")}), R"("a" NOT IN ('x'))"},
      {a.in(Select().expr(col("id")).from("t")), R"("a" IN (SELECT "id" FROM "t"))"},
      {a.not_in(Select().expr(col("id")).from("t")), R"("a" NOT IN (SELECT "id" FROM "t"))"},
      {a.add(b), R"("a" + "b")"},
      {a.sub(val(-1)), R"("a" - -1)"},
      {a.concat(b), R"("a" || "b")"},
      {Case().when(a, val("x")).end(), R"(CASE WHEN "a" THEN 'x' END)"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.expr), test_case.expect);
  }
}

TEST(Expr, BracketsOnlyWherePrecedenceNeedsThem) {
  const Expr a = col("a");
  const Expr b = col("b");
  const Expr c = col("c");
  const Expr d = col("d");
  struct {
    Expr expr;
    const char* expect;
  } cases[] = {
      {a.or_(b).and_(c), R"(("a" OR "b") AND "c")"},
      {a.and_(b.or_(c)), R"("a" AND ("b" OR "c"))"},
      {a.and_(b).or_(c), R"("a" AND "b" OR "c")"},
      {a.or_(b.and_(c)), R"("a" OR "b" AND "c")"},
      {a.and_(b).and_(c), R"("a" AND "b" AND "c")"},
      {a.and_(b.and_(c)), R"("a" AND "b" AND "c")"},
      {a.or_(b.or_(c)), R"("a" OR "b" OR "c")"},
      {a.eq(b).not_(), R"(NOT "a" = "b")"},
      {a.or_(b).not_(), R"(NOT ("a" OR "b"))"},
      {a.and_(b).not_(), R"(NOT ("a" AND "b"))"},
      {a.not_().not_(), R"(NOT NOT "a")"},
      {a.not_().and_(b), R"(NOT "a" AND "b")"},
      {a.not_().eq(b), R"((NOT "a") = "b")"},
      {a.eq(b.not_()), R"("a" = (NOT "b"))"},
      {a.concat(b).eq(c.concat(d)), R"("a" || "b" = "c" || "d")"},
      {a.add(b).eq(c.sub(d)), R"("a" + "b" = "c" - "d")"},
      {a.eq(b).eq(c), R"(("a" = "b") = "c")"},
      {a.eq(b.eq(c)), R"("a" = ("b" = "c"))"},
      {a.eq(b).is_null(), R"(("a" = "b") IS NULL)"},
      {a.is_null().eq(b), R"(("a" IS NULL) = "b")"},
      {a.or_(b).is_not_null(), R"(("a" OR "b") IS NOT NULL)"},
      {a.concat(b).is_null(), R"("a" || "b" IS NULL)"},
      {a.concat(b).in({c}), R"("a" || "b" IN ("c"))"},
      {a.eq(b).in({c}), R"(("a" = "b") IN ("c"))"},
      {a.is_distinct_from(b).or_(c.is_null()), R"("a" IS DISTINCT FROM "b" OR "c" IS NULL)"},
      {a.sub(b).sub(c), R"("a" - "b" - "c")"},
      {a.sub(b.sub(c)), R"("a" - ("b" - "c"))"},
      {a.add(b.add(c)), R"("a" + ("b" + "c"))"},
      {a.add(b).concat(c), R"("a" + "b" || "c")"},
      {a.concat(b.add(c)), R"("a" || "b" + "c")"},
      {a.concat(b).add(c), R"(("a" || "b") + "c")"},
      {a.add(b.concat(c)), R"("a" + ("b" || "c"))"},
      {a.concat(b.concat(c)), R"("a" || "b" || "c")"},
      {func("f", {a.or_(b)}).and_(c), R"(f("a" OR "b") AND "c")"},
      {tuple({a.or_(b), c}).eq(d), R"(("a" OR "b", "c") = "d")"},
      {Case().when(a.or_(b), c.and_(d)).end().eq(a), R"(CASE WHEN "a" OR "b" THEN "c" AND "d" END = "a")"},
      {subquery(Select().expr(a)).concat(b), R"((SELECT "a") || "b")"},
      // Raw text is the caller's to bracket.
      {custom("x OR y").and_(a), R"(x OR y AND "a")"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.expr), test_case.expect);
  }
}

TEST(Expr, AggregateFilterAndWindow) {
  const Expr in_list = col("children", "status").in({val("S"), val("F")});
  const Expr counted = func("count", {asterisk()}).filter(in_list);
  EXPECT_EQ(to_sql(counted), R"(count(*) FILTER (WHERE "children"."status" IN ('S', 'F')))");
  const Built built = build_expr(counted);
  EXPECT_EQ(built.sql, R"(count(*) FILTER (WHERE "children"."status" IN ($1, $2)))");
  EXPECT_EQ(built.values, (std::vector<Value>{"S", "F"}));

  struct {
    Expr expr;
    const char* expect;
  } cases[] = {
      {func("row_number", {})
           .over(Window().partition_by(col("a")).partition_by(col("b")).order_by(col("c"), Order::Desc)),
       R"(row_number() OVER (PARTITION BY "a", "b" ORDER BY "c" DESC))"},
      {func("rank", {}).over(Window().order_by(col("c")).order_by(col("d"), Order::Desc)),
       R"(rank() OVER (ORDER BY "c", "d" DESC))"},
      {func("sum", {col("x")}).over(Window().partition_by(col("a"))), R"(sum("x") OVER (PARTITION BY "a"))"},
      {func("count", {asterisk()}).over(Window()), "count(*) OVER ()"},
      {func("sum", {col("x")}).filter(col("ok")).over(Window().partition_by(col("a"))),
       R"(sum("x") FILTER (WHERE "ok") OVER (PARTITION BY "a"))"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.expr), test_case.expect);
  }
}

TEST(Expr, DefectsAreBuildErrors) {
  EXPECT_THROW(col("a").filter(col("b")), BuildError);
  EXPECT_THROW(col("a").over(Window()), BuildError);
  EXPECT_THROW(col("a").in(std::vector<Expr>{}), BuildError);
  EXPECT_THROW(col("a").not_in(std::vector<Expr>{}), BuildError);
  EXPECT_THROW(tuple({}), BuildError);
  EXPECT_THROW(Case().otherwise(col("a")).end(), BuildError);
}

}  // namespace
}  // namespace sqlbuilder
