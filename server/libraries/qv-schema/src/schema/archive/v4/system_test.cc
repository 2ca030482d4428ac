#include "schema/archive/v4/system.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::system {
namespace {

using Texts = std::vector<std::string>;

TEST(V4System, SeedsTheDataFormatGeneration) {
  EXPECT_EQ(entity_texts::seeds(Defs()), (Texts{
      R"sql(INSERT INTO "quorvale_system" ("name", "value") VALUES ('quorvale_version', '2'))sql"
  }));
}

}  // namespace
}  // namespace schema::archive::v4::system
