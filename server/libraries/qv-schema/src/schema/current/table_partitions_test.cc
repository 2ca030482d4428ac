#include "schema/current/table_partitions.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::table_partitions {
namespace {

using Texts = std::vector<std::string>;

TEST(TablePartitions, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "table_partitions" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "project_id" )sql"
      R"sql(text NOT NULL COLLATE "C", "collection_id" text NOT NULL COLLATE "C", "table_id" text NOT NULL )sql"
      R"sql(COLLATE "C", "table_version_id" text NOT NULL COLLATE "C", "function_version_id" bigint NOT )sql"
      R"sql(NULL, "table_data_version_id" bigint NOT NULL, "partition_key" text NULL, "partition_deleted" )sql"
      R"sql(boolean NULL, FOREIGN KEY ("collection_id") REFERENCES "collections" ("id") ON DELETE RESTRICT )sql"
      R"sql(ON UPDATE RESTRICT, FOREIGN KEY ("function_version_id") REFERENCES "functions" ("id") ON )sql"
      R"sql(DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY ("table_data_version_id") REFERENCES )sql"
      R"sql("physical_table_data_versions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

TEST(TablePartitions, TableOnly) {
  EXPECT_TRUE(Defs().create_indices().empty());
  EXPECT_TRUE(Defs().create_views().empty());
  EXPECT_TRUE(Defs().create_db_triggers().empty());
}

}  // namespace
}  // namespace schema::current::table_partitions
