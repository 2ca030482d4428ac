// SELECT on the server: each feature gives the rows it should on small
// fixture tables, written inline and with parameters alike.

#include <gtest/gtest.h>

#include "sqlbuilder/render.h"
#include "sqlbuilder/select.h"
#include "test_support/statement_fixture.h"

namespace sqlbuilder {
namespace {

using test_support::Rows;

class SelectOnServer : public test_support::StatementFixture {
 protected:
  void SetUp() override {
    StatementFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    script(
        "CREATE TABLE users (id text PRIMARY KEY, name text NOT NULL, team text, score integer NOT NULL);"
        "INSERT INTO users VALUES ('u1', 'ann', 'red', 3), ('u2', 'bob', 'red', 5), ('u3', 'cy', 'blue', 1),"
        "  ('u4', 'di', NULL, 2);"
        "CREATE TABLE sessions (id integer PRIMARY KEY, user_id text, kind text);"
        "INSERT INTO sessions VALUES (1, 'u1', 'web'), (2, 'u1', 'cli'), (3, 'u2', 'web'), (4, 'zz', 'web')");
  }

  struct Query {
    const char* name;
    Select select;
    Rows expect;
  };

  void expect_rows(const std::vector<Query>& cases) {
    for (const auto& test_case : cases) {
      SCOPED_TRACE(std::string(test_case.name) + ": " + to_sql(test_case.select));
      EXPECT_EQ(in_both_modes(test_case.select), test_case.expect);
    }
  }
};

Expr count_all() { return func("count", {asterisk()}); }

// sessions AS s, users AS u, on the session's user.
Expr session_user() { return col("u", "id").eq(col("s", "user_id")); }

TEST_F(SelectOnServer, ItemsAndConditions) {
  expect_rows({
      {"aliases and values",
       std::move(Select()
                     .expr_as(col("u", "id"), "key")
                     .expr_as(col("u", "name").concat(val("!")), "label")
                     .from_as("users", "u")
                     .and_where(col("u", "score").gt(val(2)))
                     .order_by(col("key"))),
       {{"u1", "ann!"}, {"u2", "bob!"}}},
      {"*",
       std::move(Select().expr(asterisk()).from("users").and_where(col("id").eq(val("u4")))),
       {{"u4", "di", "NULL", "2"}}},
      {"table.*",
       std::move(Select()
                     .expr(asterisk("u"))
                     .expr(col("s", "kind"))
                     .from_as("sessions", "s")
                     .join_as(JoinType::Inner, "users", "u", session_user())
                     .and_where(col("s", "id").eq(val(3)))),
       {{"u2", "bob", "red", "5", "web"}}},
      {"CASE with and without ELSE",
       std::move(Select()
                     .expr(col("id"))
                     .expr(Case()
                               .when(col("score").ge(val(3)), val("high"))
                               .when(col("score").ge(val(2)), val("mid"))
                               .otherwise(val("low"))
                               .end())
                     .expr(Case().when(col("team").is_null(), val("none")).end())
                     .from("users")
                     .order_by(col("id"))),
       {{"u1", "high", "NULL"}, {"u2", "high", "NULL"}, {"u3", "low", "NULL"}, {"u4", "mid", "none"}}},
      // Wrongly bracketed, the OR would admit u2.
      {"several conditions",
       std::move(Select()
                     .expr(col("id"))
                     .from("users")
                     .and_where(col("team").eq(val("red")).or_(col("team").is_null()))
                     .and_where(col("score").lt(val(4)))
                     .order_by(col("id"))),
       {{"u1"}, {"u4"}}},
      {"IS DISTINCT FROM NULL",
       std::move(Select()
                     .expr(col("id"))
                     .from("users")
                     .and_where(col("team").is_distinct_from(val(Null{})))
                     .order_by(col("id"))),
       {{"u1"}, {"u2"}, {"u3"}}},
      {"IN a subquery, NOT IN a list",
       std::move(Select()
                     .expr(col("id"))
                     .from("users")
                     .and_where(col("id").in(
                         Select().expr(col("user_id")).from("sessions").and_where(col("kind").eq(val("web")))))
                     .and_where(col("name").not_in({val("bob"), val("cy")}))),
       {{"u1"}}},
      {"scalar subquery",
       std::move(Select()
                     .expr(col("u", "id"))
                     .expr_as(subquery(Select()
                                           .expr(count_all())
                                           .from("sessions")
                                           .and_where(col("sessions", "user_id").eq(col("u", "id")))),
                              "n")
                     .from_as("users", "u")
                     .order_by(col("u", "id"))),
       {{"u1", "2"}, {"u2", "1"}, {"u3", "0"}, {"u4", "0"}}},
      {"FROM subquery",
       std::move(Select()
                     .expr(col("s", "n"))
                     .from_subquery(Select().expr_as(count_all(), "n").from("users").and_where(col("score").gt(val(1))),
                                    "s")),
       {{"3"}}},
  });
}

TEST_F(SelectOnServer, AggregatesAndWindows) {
  expect_rows({
      {"GROUP BY, FILTER and HAVING",
       std::move(Select()
                     .expr(col("team"))
                     .expr(count_all())
                     .expr(count_all().filter(col("score").gt(val(2))))
                     .expr(func("sum", {col("score")}))
                     .from("users")
                     .group_by(col("team"))
                     .and_having(count_all().ge(val(1)))
                     .and_having(col("team").is_not_null())
                     .order_by(col("team"))),
       {{"blue", "1", "0", "1"}, {"red", "2", "2", "8"}}},
      {"GROUP BY two expressions",
       std::move(Select()
                     .expr(col("team"))
                     .expr_as(func("length", {col("name")}), "length")
                     .expr(count_all())
                     .from("users")
                     .group_by(col("team"))
                     .group_by(func("length", {col("name")}))
                     .order_by(col("team"))),
       {{"blue", "2", "1"}, {"red", "3", "2"}, {"NULL", "2", "1"}}},
      {"window functions",
       std::move(
           Select()
               .expr(col("id"))
               .expr(
                   func("row_number", {}).over(Window().partition_by(col("team")).order_by(col("score"), Order::Desc)))
               .expr(func("sum", {col("score")}).over(Window().partition_by(col("team"))))
               .expr(
                   func("sum", {col("score")}).filter(col("score").gt(val(2))).over(Window().partition_by(col("team"))))
               .expr(count_all().over(Window()))
               .expr(func("rank", {}).over(Window().order_by(col("team")).order_by(col("id"), Order::Desc)))
               .from("users")
               .order_by(col("id"))),
       {{"u1", "2", "8", "8", "4", "3"},
        {"u2", "1", "8", "8", "4", "2"},
        {"u3", "1", "1", "NULL", "4", "1"},
        {"u4", "1", "2", "NULL", "4", "4"}}},
      {"DISTINCT",
       std::move(Select().distinct().expr(col("kind")).from("sessions").order_by(col("kind"))),
       {{"cli"}, {"web"}}},
      {"ORDER BY several, DESC, LIMIT",
       std::move(Select()
                     .expr(col("team"))
                     .expr(col("id"))
                     .from("users")
                     .order_by(col("team"), Order::Desc)
                     .order_by(col("score"))
                     .limit(3)),
       {{"NULL", "u4"}, {"red", "u1"}, {"red", "u2"}}},
  });
}

TEST_F(SelectOnServer, Joins) {
  auto sessions = [] { return std::move(Select().expr(col("s", "id")).expr(col("u", "id")).from_as("sessions", "s")); };
  expect_rows({
      {"INNER",
       std::move(sessions().join_as(JoinType::Inner, "users", "u", session_user()).order_by(col("s", "id"))),
       {{"1", "u1"}, {"2", "u1"}, {"3", "u2"}}},
      {"LEFT",
       std::move(sessions().join_as(JoinType::Left, "users", "u", session_user()).order_by(col("s", "id"))),
       {{"1", "u1"}, {"2", "u1"}, {"3", "u2"}, {"4", "NULL"}}},
      {"RIGHT",
       std::move(sessions()
                     .join_as(JoinType::Right, "users", "u", session_user())
                     .order_by(col("u", "id"))
                     .order_by(col("s", "id"))),
       {{"1", "u1"}, {"2", "u1"}, {"3", "u2"}, {"NULL", "u3"}, {"NULL", "u4"}}},
      {"FULL",
       std::move(sessions()
                     .join_as(JoinType::Full, "users", "u", session_user())
                     .order_by(col("s", "id"))
                     .order_by(col("u", "id"))),
       {{"1", "u1"}, {"2", "u1"}, {"3", "u2"}, {"4", "NULL"}, {"NULL", "u3"}, {"NULL", "u4"}}},
      {"LEFT JOIN a subquery with a value",
       std::move(sessions()
                     .join_subquery(JoinType::Left,
                                    Select().expr(col("id")).from("users").and_where(col("score").gt(val(3))), "u",
                                    session_user())
                     .order_by(col("s", "id"))),
       {{"1", "NULL"}, {"2", "NULL"}, {"3", "u2"}, {"4", "NULL"}}},
      {"without alias",
       std::move(
           Select()
               .expr(col("users", "name"))
               .from("sessions")
               .join(JoinType::Inner, "users",
                     col("users", "id").eq(col("sessions", "user_id")).and_(col("sessions", "kind").eq(val("cli"))))),
       {{"ann"}}},
      {"CROSS", std::move(Select().expr(count_all()).from("users").cross_join("sessions")), {{"16"}}},
  });
}

TEST_F(SelectOnServer, UnionAllAndWith) {
  auto ids = [](Expr condition) { return std::move(Select().expr(col("id")).from("users").and_where(condition)); };
  expect_rows({
      // ORDER BY and LIMIT of the first select cover the whole union; the
      // third branch's own are kept inside it.
      {"UNION ALL",
       std::move(ids(col("team").eq(val("red")))
                     .union_all(ids(col("score").lt(val(2))))
                     .union_all(ids(col("score").gt(val(0))).order_by(col("score"), Order::Desc).limit(1))
                     .order_by(col("id"))
                     .limit(3)),
       {{"u1"}, {"u2"}, {"u2"}}},
      {"a union as a branch",
       std::move(ids(col("id").eq(val("u4")))
                     .union_all(ids(col("id").eq(val("u3"))).union_all(ids(col("id").eq(val("u1")))))),
       {{"u4"}, {"u3"}, {"u1"}}},
      {"WITH, the second table reading the first",
       std::move(
           Select()
               .with("red",
                     Select().expr(col("id")).expr(col("score")).from("users").and_where(col("team").eq(val("red"))))
               .with("top", Select().expr(col("id")).from("red").and_where(col("score").gt(val(4))))
               .expr(col("id"))
               .from("top")),
       {{"u2"}}},
      {"WITH in a branch",
       std::move(ids(col("id").eq(val("u3")))
                     .union_all(Select().with("w", ids(col("id").eq(val("u1")))).expr(col("id")).from("w"))),
       {{"u3"}, {"u1"}}},
  });
}

}  // namespace
}  // namespace sqlbuilder
