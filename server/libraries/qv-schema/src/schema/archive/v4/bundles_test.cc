#include "schema/archive/v4/bundles.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::bundles {
namespace {

using Texts = std::vector<std::string>;

TEST(V4Bundles, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "bundles" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )sql"
      R"sql("collection_id" text NOT NULL, "hash" text NOT NULL, "base_path" text NOT NULL, "status" text )sql"
      R"sql(NOT NULL, "created_on" timestamp with time zone NOT NULL, "created_by_id" text NOT NULL, )sql"
      R"sql(FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT ON UPDATE )sql"
      R"sql(RESTRICT ))sql"
  }));
}

}  // namespace
}  // namespace schema::archive::v4::bundles
