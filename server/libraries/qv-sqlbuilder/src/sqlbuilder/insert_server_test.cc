// INSERT on the server: each form leaves the rows it should, written inline
// and with parameters alike.

#include <gtest/gtest.h>

#include "sqlbuilder/insert.h"
#include "sqlbuilder/render.h"
#include "test_support/statement_fixture.h"

namespace sqlbuilder {
namespace {

using test_support::Rows;

constexpr const char* kItems = "SELECT k, a, b, n FROM items ORDER BY k";

class InsertOnServer : public test_support::StatementFixture {
 protected:
  void SetUp() override {
    StatementFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    script(
        "CREATE TABLE items (k text PRIMARY KEY, a integer, b text, n integer NOT NULL DEFAULT 0);"
        "INSERT INTO items VALUES ('k1', 1, 'one', 5)");
  }
};

Insert into_items() {
  Insert insert;
  insert.into("items").columns({"k", "a", "b"});
  return insert;
}

TEST_F(InsertOnServer, Forms) {
  Select with_source;
  with_source.with("src", Select().expr_as(val("k5"), "k").expr_as(val(5), "a"))
      .expr(col("k"))
      .expr(col("a"))
      .expr(val("five"))
      .from("src");
  struct {
    const char* name;
    Insert insert;
    Rows expect;
  } cases[] = {
      {"VALUES, several rows",
       std::move(
           into_items().values({val("k2"), val(2), val(Null{})}).values({val("k3"), custom("40 + 2"), val("it's")})),
       {{"k1", "1", "one", "5"}, {"k2", "2", "NULL", "0"}, {"k3", "42", "it's", "0"}}},
      {"SELECT",
       std::move(into_items().select_from(
           Select().expr(col("k").concat(val("-copy"))).expr(col("a").add(val(10))).expr(col("b")).from("items"))),
       {{"k1", "1", "one", "5"}, {"k1-copy", "11", "one", "0"}}},
      {"WITH ... SELECT",
       std::move(into_items().select_from(with_source)),
       {{"k1", "1", "one", "5"}, {"k5", "5", "five", "0"}}},
      {"SELECT with UNION ALL",
       std::move(into_items().select_from(Select().expr(val("u1")).expr(val(1)).expr(val("a")).union_all(
           Select().expr(val("u2")).expr(val(2)).expr(val("b"))))),
       {{"k1", "1", "one", "5"}, {"u1", "1", "a", "0"}, {"u2", "2", "b", "0"}}},
      {"ON CONFLICT DO UPDATE",
       std::move(Insert()
                     .into("items")
                     .columns({"k", "a", "b", "n"})
                     .values({val("k1"), val(9), val("nine"), val(1)})
                     .values({val("k4"), val(4), val("four"), val(1)})
                     .on_conflict(OnConflict({"k"})
                                      .update_columns({"a", "b"})
                                      .update_value("n", col("items", "n").add(col("excluded", "n")).add(val(10))))),
       {{"k1", "9", "nine", "16"}, {"k4", "4", "four", "1"}}},
      {"ON CONFLICT DO NOTHING",
       std::move(into_items()
                     .values({val("k1"), val(100), val("x")})
                     .values({val("k6"), val(6), val("six")})
                     .on_conflict(OnConflict({"k"}).do_nothing())),
       {{"k1", "1", "one", "5"}, {"k6", "6", "six", "0"}}},
      {"SELECT with ON CONFLICT",
       std::move(into_items()
                     .select_from(Select().expr(col("k")).expr(val(0)).expr(val("again")).from("items"))
                     .on_conflict(OnConflict({"k"}).update_columns({"b"}))),
       {{"k1", "1", "again", "5"}}},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(std::string(test_case.name) + ": " + to_sql(test_case.insert));
    EXPECT_EQ(in_both_modes(test_case.insert, kItems), test_case.expect);
  }
}

}  // namespace
}  // namespace sqlbuilder
