#include "sqlbuilder/index.h"

#include <gtest/gtest.h>

#include "sqlbuilder/build_error.h"
#include "sqlbuilder/render.h"

namespace sqlbuilder {
namespace {

TEST(IndexCreate, Forms) {
  struct {
    IndexCreate index;
    const char* expect;
  } cases[] = {
      {std::move(IndexCreate()
                     .name("collections___project_id__name___idx")
                     .table("collections")
                     .col("project_id")
                     .col("name")),
       R"(CREATE INDEX "collections___project_id__name___idx" ON "collections" ("project_id", "name"))"},
      {std::move(IndexCreate()
                     .name("functions___collection_id__name___current_uidx")
                     .table("functions")
                     .unique()
                     .col("collection_id")
                     .col("name")
                     .and_where(col("valid_to").eq(custom("'infinity'::timestamptz")))),
       R"(CREATE UNIQUE INDEX "functions___collection_id__name___current_uidx" ON "functions" ("collection_id", "name") )"
       R"(WHERE "valid_to" = 'infinity'::timestamptz)"},
      {std::move(IndexCreate()
                     .name("i")
                     .table("t")
                     .expr_col(func("lower", {col("name")}))
                     .col("id")
                     .and_where(col("deleted").not_())
                     .and_where(col("kind").eq(val("x")))),
       R"(CREATE INDEX "i" ON "t" ((lower("name")), "id") WHERE NOT "deleted" AND "kind" = 'x')"},
      {std::move(IndexCreate().table("t").col("a")), R"(CREATE INDEX ON "t" ("a"))"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.expect);
    EXPECT_EQ(to_sql(test_case.index), test_case.expect);
  }
  EXPECT_EQ(IndexCreate().name("i").index_name(), "i");
  EXPECT_EQ(IndexCreate().table("t").index_name(), std::nullopt);
}

TEST(IndexCreate, DefectsAreBuildErrors) {
  EXPECT_THROW(to_sql(IndexCreate().name("i").col("a")), BuildError);
  EXPECT_THROW(to_sql(IndexCreate().name("i").table("t")), BuildError);
}

TEST(IndexDrop, Forms) {
  EXPECT_EQ(to_sql(IndexDrop().name("some_index").if_exists()), R"(DROP INDEX IF EXISTS "some_index")");
  EXPECT_EQ(to_sql(IndexDrop().name("some_index")), R"(DROP INDEX "some_index")");
  EXPECT_THROW(to_sql(IndexDrop().if_exists()), BuildError);
}

}  // namespace
}  // namespace sqlbuilder
