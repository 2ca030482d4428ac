// Expressions on the server: values keep their text and type in both modes,
// and every bracketing rule gives the value its tree means. Most cases come
// in pairs whose trees differ only in grouping, so a wrong bracket shows as
// a wrong value.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/render.h"
#include "sqlbuilder/select.h"
#include "test_support/statement_fixture.h"

namespace sqlbuilder {
namespace {

using test_support::Rows;

using ExprOnServer = test_support::StatementFixture;

TEST_F(ExprOnServer, ValuesKeepTextAndType) {
  struct {
    Value value;
    const char* text;
    const char* type;
  } cases[] = {
      {"it's", "it's", "text"},
      {R"(back\slash "q")", R"(back\slash "q")", "text"},
      {"", "", "text"},
      {"ünïcödé", "ünïcödé", "text"},
      {std::int32_t{-7}, "-7", "integer"},
      {std::numeric_limits<std::int32_t>::min(), "-2147483648", "integer"},
      {std::numeric_limits<std::int32_t>::max(), "2147483647", "integer"},
      {std::int64_t{5}, "5", "bigint"},
      {std::int64_t{-5}, "-5", "bigint"},
      {std::int64_t{9000000000}, "9000000000", "bigint"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808", "bigint"},
      {std::numeric_limits<std::int64_t>::max(), "9223372036854775807", "bigint"},
      {true, "t", "boolean"},
      {false, "f", "boolean"},
      {Null{}, "NULL", "text"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(to_sql(val(test_case.value)));
    // The type the value gives a column of a subquery.
    Select select;
    select.expr(col("v"))
        .expr(func("pg_typeof", {col("v")}))
        .from_subquery(Select().expr_as(val(test_case.value), "v"), "s");
    EXPECT_EQ(in_both_modes(select), (Rows{{test_case.text, test_case.type}}));
  }
}

TEST_F(ExprOnServer, BigintValuesComputeAsBigint) {
  const Expr sum = val(std::int64_t{2147483647}).add(val(1));
  EXPECT_EQ(in_both_modes(Select().expr(sum)), (Rows{{"2147483648"}}));
}

TEST_F(ExprOnServer, PrecedenceGivesTheTreesValue) {
  const Expr t = val(true);
  const Expr f = val(false);
  const Expr one = val(1);
  const Expr two = val(2);
  const Expr three = val(3);
  struct {
    Expr expr;
    const char* value;
  } cases[] = {
      // + and - bind tighter than ||; ('x' || 1) + 2 would fail.
      {val("x").concat(one.add(two)), "x3"},
      {one.add(two).concat(val("x")), "3x"},
      {val("x").concat(one).concat(two), "x12"},
      {val("x").concat(one.concat(two)), "x12"},
      {one.sub(two.sub(three)), "2"},
      {one.sub(two).sub(three), "-4"},
      {one.sub(two.add(three)), "-4"},
      {one.sub(two).add(three), "2"},
      {one.sub(val(-1)), "2"},
      {val("x").concat(val(-1)), "x-1"},
      // AND binds tighter than OR.
      {t.or_(f.and_(f)), "t"},
      {t.or_(f).and_(f), "f"},
      {f.and_(f).or_(t), "t"},
      {f.and_(f.or_(t)), "f"},
      // NOT binds looser than comparisons and tighter than AND / OR.
      {one.eq(two).not_(), "t"},
      {t.or_(t).not_(), "f"},
      {t.not_().or_(t), "t"},
      {t.and_(f).not_(), "t"},
      {t.not_().and_(f), "f"},
      {f.not_().is_null(), "f"},
      {f.is_null().not_(), "t"},
      {f.not_().eq(f), "f"},
      {f.eq(f.not_()), "f"},
      {f.not_().not_(), "f"},
      // Comparisons do not chain; || binds tighter than them.
      {one.eq(one).eq(f), "f"},
      {f.eq(one.eq(one)), "f"},
      {one.lt(two).eq(two.lt(one)), "f"},
      {one.eq(two).is_null(), "f"},
      {val(Null{}).eq(one).is_null(), "t"},
      {one.is_null().eq(f), "t"},
      {val("a").concat(val("b")).eq(val("ab")), "t"},
      {one.add(one).in({two, three}), "t"},
      {one.eq(one).in({f}), "f"},
      {one.eq(two).not_in({f}), "f"},
      {two.not_in({one, three}), "t"},
      {one.is_distinct_from(one).or_(t), "t"},
      {one.is_distinct_from(one.add(one)), "t"},
      {one.is_distinct_from(one).eq(f), "t"},
      // Calls, CASE, subqueries and tuples are atoms.
      {subquery(Select().expr(val("a"))).concat(val("b")), "ab"},
      {Case().when(t.or_(f), one).otherwise(two).end().add(one), "2"},
      {Case().when(f, one).when(f.or_(t).and_(t), two).end(), "2"},
      {func("coalesce", {val(Null{}), one.add(two)}).sub(one), "2"},
      {func("length", {val("ab").concat(val("c"))}).eq(three), "t"},
      {tuple({one, two}).eq(tuple({one, one.add(one)})), "t"},
      {one.in(Select().expr(one).union_all(Select().expr(two))).and_(f), "f"},
      {three.not_in(Select().expr(one).union_all(Select().expr(two))), "t"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(to_sql(test_case.expr));
    EXPECT_EQ(in_both_modes(Select().expr(test_case.expr)), (Rows{{test_case.value}}));
  }
}

}  // namespace
}  // namespace sqlbuilder
