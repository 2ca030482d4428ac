#include "schema/current/connections.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::connections {
namespace {

using Texts = std::vector<std::string>;

TEST(Connections, Table) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "connections" ( "id" text NOT NULL PRIMARY KEY COLLATE "C", "project_id" text NOT )sql"
      R"sql(NULL COLLATE "C", "kind" text NOT NULL, "created_on" timestamp with time zone NOT NULL, )sql"
      R"sql("created_by_id" text NOT NULL COLLATE "C", "modified_on" timestamp with time zone NOT NULL, )sql"
      R"sql("modified_by_id" text NOT NULL COLLATE "C" ))sql"
  }));
}

TEST(Connections, ContributesNothingButItsTable) {
  const Defs defs;
  EXPECT_TRUE(defs.create_indices().empty());
  EXPECT_TRUE(defs.create_views().empty());
  EXPECT_TRUE(defs.create_db_triggers().empty());
  EXPECT_TRUE(defs.seeds().empty());
}

}  // namespace
}  // namespace schema::current::connections
