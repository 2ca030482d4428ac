#include "schema/archive/v4/table_partitions.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::table_partitions {
namespace {

using Texts = std::vector<std::string>;

TEST(V4TablePartitions, TableWithPlainTextIds) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "table_partitions" ( "id" text NOT NULL PRIMARY KEY, "project_id" text NOT NULL, )sql"
      R"sql("collection_id" text NOT NULL, "table_id" text NOT NULL, "table_version_id" text NOT NULL, )sql"
      R"sql("function_version_id" text NOT NULL, "table_data_version_id" text NOT NULL, "partition_key" )sql"
      R"sql(text NULL, "partition_deleted" boolean NULL, FOREIGN KEY ("collection_id") REFERENCES )sql"
      R"sql("collections" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, FOREIGN KEY )sql"
      R"sql(("function_version_id") REFERENCES "functions" ("id") ON DELETE RESTRICT ON UPDATE RESTRICT, )sql"
      R"sql(FOREIGN KEY ("table_data_version_id") REFERENCES "physical_table_data_versions" ("id") ON )sql"
      R"sql(DELETE RESTRICT ON UPDATE RESTRICT ))sql",
  }));
}

}  // namespace
}  // namespace schema::archive::v4::table_partitions
