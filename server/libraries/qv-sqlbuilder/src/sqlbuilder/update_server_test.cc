// UPDATE and DELETE on the server: each form changes the rows it should,
// written inline and with parameters alike.

#include <gtest/gtest.h>

#include "sqlbuilder/delete.h"
#include "sqlbuilder/render.h"
#include "sqlbuilder/update.h"
#include "test_support/statement_fixture.h"

namespace sqlbuilder {
namespace {

using test_support::Rows;

constexpr const char* kAccounts = "SELECT id, team, score, status FROM accounts ORDER BY id";

class ChangeOnServer : public test_support::StatementFixture {
 protected:
  void SetUp() override {
    StatementFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    script(
        "CREATE TABLE accounts (id text PRIMARY KEY, team text, score integer NOT NULL, status text);"
        "INSERT INTO accounts VALUES ('a1', 'red', 3, NULL), ('a2', 'red', 5, 'old'), ('a3', 'blue', 1, NULL);"
        "CREATE TABLE events (account_id text, points integer);"
        "INSERT INTO events VALUES ('a1', 2), ('a1', 4), ('a3', 1)");
  }
};

TEST_F(ChangeOnServer, Update) {
  Select totals;
  totals.expr_as(col("account_id"), "id")
      .expr_as(func("sum", {col("points")}), "total")
      .from("events")
      .group_by(col("account_id"));
  struct {
    const char* name;
    Update update;
    Rows expect;
  } cases[] = {
      {"SET values and expressions",
       std::move(Update()
                     .table("accounts")
                     .set("status", val("new"))
                     .set("score", col("score").add(val(1)))
                     .and_where(col("team").eq(val("red")))),
       {{"a1", "red", "4", "new"}, {"a2", "red", "6", "new"}, {"a3", "blue", "1", "NULL"}}},
      {"alias, SET NULL",
       std::move(
           Update().table_as("accounts", "a").set("status", val(Null{})).and_where(col("a", "status").is_not_null())),
       {{"a1", "red", "3", "NULL"}, {"a2", "red", "5", "NULL"}, {"a3", "blue", "1", "NULL"}}},
      {"FROM a table with alias",
       std::move(Update()
                     .table_as("accounts", "a")
                     .set("score", col("a", "score").add(col("e", "points")))
                     .from_as("events", "e")
                     .and_where(col("a", "id").eq(col("e", "account_id")))
                     .and_where(col("e", "points").gt(val(3)))),
       {{"a1", "red", "7", "NULL"}, {"a2", "red", "5", "old"}, {"a3", "blue", "1", "NULL"}}},
      {"FROM a table",
       std::move(Update()
                     .table("accounts")
                     .set("score", col("events", "points"))
                     .from("events")
                     .and_where(col("accounts", "id").eq(col("events", "account_id")))
                     .and_where(col("events", "points").eq(val(2)))),
       {{"a1", "red", "2", "NULL"}, {"a2", "red", "5", "old"}, {"a3", "blue", "1", "NULL"}}},
      {"FROM a grouped subquery",
       std::move(Update()
                     .table_as("accounts", "a")
                     .set("score", col("t", "total"))
                     .set("status", Case().when(col("t", "total").gt(val(5)), val("high")).otherwise(val("low")).end())
                     .from_subquery(totals, "t")
                     .and_where(col("a", "id").eq(col("t", "id")))),
       {{"a1", "red", "6", "high"}, {"a2", "red", "5", "old"}, {"a3", "blue", "1", "low"}}},
      {"IS DISTINCT FROM guard",
       std::move(Update()
                     .table("accounts")
                     .set("status", val("old"))
                     .and_where(col("status").is_distinct_from(val("old")).and_(col("score").lt(val(3))))),
       {{"a1", "red", "3", "NULL"}, {"a2", "red", "5", "old"}, {"a3", "blue", "1", "old"}}},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(std::string(test_case.name) + ": " + to_sql(test_case.update));
    EXPECT_EQ(in_both_modes(test_case.update, kAccounts), test_case.expect);
  }
}

TEST_F(ChangeOnServer, Delete) {
  struct {
    const char* name;
    Delete remove;
    const char* check;
    Rows expect;
  } cases[] = {
      {"all rows", std::move(Delete().from("events")), "SELECT count(*) FROM events", {{"0"}}},
      {"WHERE a value",
       std::move(Delete().from("accounts").and_where(col("score").lt(val(4)))),
       kAccounts,
       {{"a2", "red", "5", "old"}}},
      {"NOT IN a subquery",
       std::move(
           Delete().from("accounts").and_where(col("id").not_in(Select().expr(col("account_id")).from("events")))),
       kAccounts,
       {{"a1", "red", "3", "NULL"}, {"a3", "blue", "1", "NULL"}}},
      // Wrongly bracketed, the OR would delete a2 too.
      {"several conditions",
       std::move(Delete()
                     .from("accounts")
                     .and_where(col("team").eq(val("red")).or_(col("score").eq(val(1))))
                     .and_where(col("status").is_null())),
       kAccounts,
       {{"a2", "red", "5", "old"}}},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(std::string(test_case.name) + ": " + to_sql(test_case.remove));
    EXPECT_EQ(in_both_modes(test_case.remove, test_case.check), test_case.expect);
  }
}

}  // namespace
}  // namespace sqlbuilder
