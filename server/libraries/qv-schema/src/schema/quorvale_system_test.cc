#include "schema/quorvale_system.h"

#include <gtest/gtest.h>

#include "schema/current/system.h"
#include "schema/render.h"

namespace schema {
namespace {

TEST(QuorvaleSystem, TableCreate) {
  EXPECT_EQ(
      render::render_schema(create_system_table()),
      "CREATE TABLE IF NOT EXISTS \"quorvale_system\" ( \"name\" text NOT NULL PRIMARY KEY, \"value\" text NULL )");
}

TEST(QuorvaleSystem, SeedsTheDataFormatGenerationAsText) {
  std::vector<sqlbuilder::Insert> seeds = current::system::Defs().seeds();
  ASSERT_EQ(seeds.size(), 1u);
  EXPECT_EQ(render::render_query(seeds[0]),
            "INSERT INTO \"quorvale_system\" (\"name\", \"value\") VALUES ('quorvale_version', '2')");
}

}  // namespace
}  // namespace schema
