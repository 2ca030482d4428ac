#include "schema/archive/v4/connections.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::archive::v4::connections {
namespace {

using Texts = std::vector<std::string>;

TEST(V4Connections, TableKeyedByProjectAndId) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "connections" ( "id" text NOT NULL, "project_id" text NOT NULL, "kind" text NOT )sql"
      R"sql(NULL, "created_on" timestamp with time zone NOT NULL, "created_by_id" text NOT NULL, )sql"
      R"sql("modified_on" timestamp with time zone NOT NULL, "modified_by_id" text NOT NULL, PRIMARY KEY )sql"
      R"sql(("project_id", "id") ))sql"
  }));
}

TEST(V4Connections, ContributesNothingButItsTable) {
  const Defs defs;
  EXPECT_TRUE(defs.create_indices().empty());
  EXPECT_TRUE(defs.create_views().empty());
  EXPECT_TRUE(defs.create_db_triggers().empty());
  EXPECT_TRUE(defs.seeds().empty());
}

}  // namespace
}  // namespace schema::archive::v4::connections
