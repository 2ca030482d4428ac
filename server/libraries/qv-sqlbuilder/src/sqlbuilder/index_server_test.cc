// Index DDL on the server: the definition the server keeps, what a unique
// partial expression index refuses, and drops that may find nothing.

#include <gtest/gtest.h>

#include "sqlbuilder/index.h"
#include "sqlbuilder/render.h"
#include "test_support/statement_fixture.h"

namespace sqlbuilder {
namespace {

using test_support::Rows;

class IndexOnServer : public test_support::StatementFixture {
 protected:
  void SetUp() override {
    StatementFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    script("CREATE TABLE items (id integer PRIMARY KEY, name text, kind text, deleted boolean NOT NULL)");
  }

  Rows indexes() {
    return rows(
        "SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = 'scratch' AND indexname <> 'items_pkey' "
        "ORDER BY indexname");
  }
};

TEST_F(IndexOnServer, UniquePartialExpressionIndex) {
  IndexCreate index;
  index.name("items_name_uidx")
      .table("items")
      .unique()
      .expr_col(func("lower", {col("name")}))
      .col("kind")
      .and_where(col("deleted").not_())
      .and_where(col("kind").ne(val("draft")));
  EXPECT_EQ(rows(to_sql(index)), Rows{});
  EXPECT_EQ(indexes(), (Rows{{"items_name_uidx",
                              "CREATE UNIQUE INDEX items_name_uidx ON scratch.items USING btree (lower(name), kind) "
                              "WHERE ((NOT deleted) AND (kind <> 'draft'::text))"}}));

  script("INSERT INTO items VALUES (1, 'Box', 'k', false)");
  const struct {
    const char* row;
    const char* sqlstate;
  } cases[] = {
      {"(2, 'box', 'k', false)", "23505"},  // the same lower-case name and kind
      {"(3, 'box', 'k', true)", ""},        // deleted rows are outside the index
      {"(4, 'box', 'draft', false)", ""},   // so are drafts
      {"(5, 'box', 'draft', false)", ""},  {"(6, 'box', 'other', false)", ""}, {"(7, 'BOX', 'other', false)", "23505"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.row);
    EXPECT_EQ(sqlstate(std::string("INSERT INTO items VALUES ") + test_case.row), test_case.sqlstate);
  }
}

TEST_F(IndexOnServer, PlainAndUnnamedIndexes) {
  EXPECT_EQ(rows(to_sql(IndexCreate().name("items_kind_name_idx").table("items").col("kind").col("name"))), Rows{});
  EXPECT_EQ(rows(to_sql(IndexCreate().table("items").col("deleted"))), Rows{});
  EXPECT_EQ(indexes(),
            (Rows{
                {"items_deleted_idx", "CREATE INDEX items_deleted_idx ON scratch.items USING btree (deleted)"},
                {"items_kind_name_idx", "CREATE INDEX items_kind_name_idx ON scratch.items USING btree (kind, name)"},
            }));
  EXPECT_EQ(sqlstate("INSERT INTO items VALUES (1, 'a', 'k', false), (2, 'a', 'k', false)"), "");
}

TEST_F(IndexOnServer, DropIfExistsRunsTwice) {
  script("CREATE INDEX items_kind_idx ON items (kind)");
  const std::string drop = to_sql(IndexDrop().name("items_kind_idx").if_exists());
  EXPECT_EQ(rows(drop), Rows{});
  EXPECT_EQ(indexes(), Rows{});
  connection().clear_notices();
  EXPECT_EQ(rows(drop), Rows{});
  ASSERT_EQ(connection().notices().size(), 1u);
  EXPECT_EQ(connection().notices()[0].sqlstate, "00000");  // does not exist, skipping
  EXPECT_EQ(sqlstate(to_sql(IndexDrop().name("items_kind_idx"))), "42704");
}

}  // namespace
}  // namespace sqlbuilder
