#include "schema/deltas/v1_to_v3.h"

#include <gtest/gtest.h>

#include "schema/testing/folded.h"

namespace schema::deltas {
namespace {

using Texts = std::vector<std::string>;
using testing::folded;

TEST(V1ToV2, PlaceholderEmailsBecomeNull) {
  const source::Delta delta = v1_to_v2::delta();
  EXPECT_EQ(delta.up, (Texts{
      R"sql(UPDATE "users" SET "email" = NULL WHERE "email" = '-')sql",
      "UPDATE quorvale_system SET value = '2' WHERE name = 'db_version'",
  }));
  EXPECT_TRUE(delta.retired.empty());
}

TEST(V2ToV3, BasePathFromFunctionVersionCollectionOrProject) {
  const source::Delta delta = v2_to_v3::delta();
  EXPECT_EQ(
      folded(delta.up),
      (Texts{
          R"sql(ALTER TABLE "physical_function_runs" ADD COLUMN "base_path" text NULL)sql",
          R"sql(UPDATE "physical_function_runs" SET "base_path" = COALESCE( (SELECT "functions"."base_path" FROM )sql"
          R"sql("functions" WHERE "functions"."id" = "physical_function_runs"."function_version_id"), (SELECT )sql"
          R"sql("collections"."base_path" FROM "collections" WHERE "collections"."id" = )sql"
          R"sql("physical_function_runs"."collection_id"), (SELECT "projects"."base_path" FROM "projects" WHERE )sql"
          R"sql("projects"."id" = "physical_function_runs"."project_id"), '' ))sql",
          R"sql(ALTER TABLE "physical_function_runs" ALTER COLUMN "base_path" TYPE text, ALTER COLUMN "base_path" )sql"
          R"sql(SET NOT NULL)sql",
          "UPDATE quorvale_system SET value = '3' WHERE name = 'db_version'",
      }));
  EXPECT_TRUE(delta.retired.empty());
}

}  // namespace
}  // namespace schema::deltas
