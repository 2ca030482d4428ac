#include "schema/current/bundles.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::bundles {
namespace {

using Texts = std::vector<std::string>;

TEST(Bundles, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "bundles" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "project_id" text NOT )sql"
      R"sql(NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", "hash" text NOT NULL, "base_path" )sql"
      R"sql(text NOT NULL, "status" text NOT NULL, "created_on" timestamp with time zone NOT NULL, )sql"
      R"sql("created_by_id" text NOT NULL COLLATE "C", FOREIGN KEY ("collection_id") REFERENCES )sql"
      R"sql("collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql"
  }));
}

}  // namespace
}  // namespace schema::current::bundles
