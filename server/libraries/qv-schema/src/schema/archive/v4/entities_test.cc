// What the frozen version-4 schema holds, counted over its entity list.

#include "schema/archive/v4/entities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schema/current/source.h"
#include "schema/testing/entity_texts.h"

namespace schema::archive::v4 {
namespace {

struct Contents {
  std::vector<std::string> tables;
  std::size_t columns = 0;
  std::size_t indexes = 0;
  std::size_t views = 0;
  std::vector<std::string> trigger_drops;
  std::vector<std::string> seeds;
};

Contents contents() {
  Contents all;
  for (const entity::Entity* entity : v4_entities()) {
    for (const sqlbuilder::TableCreate& table : entity->create_tables()) all.columns += table.column_names().size();
    for (std::string& table : entity_texts::tables(*entity)) all.tables.push_back(std::move(table));
    all.indexes += entity->create_indices().size() + entity->create_partial_indices().size();
    all.views += entity->create_views().size();
    for (const source::Derived& trigger : entity->create_db_triggers()) all.trigger_drops.push_back(trigger.drop.at(0));
    for (std::string& seed : entity_texts::seeds(*entity)) all.seeds.push_back(std::move(seed));
    EXPECT_TRUE(entity->create_statistics().empty());
  }
  return all;
}

TEST(V4Entities, Counts) {
  const Contents all = contents();
  EXPECT_EQ(v4_entities().size(), 27u);
  EXPECT_EQ(all.tables.size(), 24u);
  EXPECT_EQ(all.columns, 292u);
  EXPECT_EQ(all.indexes, 92u);
  EXPECT_EQ(all.views, 32u);
  EXPECT_EQ(all.trigger_drops,
            (std::vector<std::string>{
                "DROP TRIGGER IF EXISTS functions__scd2_close ON functions",
                "DROP TRIGGER IF EXISTS function_patches__scd2_close ON function_patches",
                "DROP TRIGGER IF EXISTS function_patches__immutable_no_update ON function_patches",
                "DROP TRIGGER IF EXISTS tables__scd2_close ON tables",
                "DROP TRIGGER IF EXISTS dependencies__scd2_close ON dependencies",
                "DROP TRIGGER IF EXISTS triggers__scd2_close ON triggers",
                "DROP TRIGGER IF EXISTS logical_function_runs__sticky_terminals ON "
                "logical_function_runs",
                "DROP TRIGGER IF EXISTS physical_function_runs__scd2_close ON physical_function_runs",
                "DROP TRIGGER IF EXISTS physical_table_data_versions__scd2_close ON "
                "physical_table_data_versions",
            }));
  EXPECT_EQ(all.seeds, current::Source().seeds());
  EXPECT_EQ(all.seeds.size(), 14u);
}

TEST(V4Entities, PlainTextIdsAndOldStartColumns) {
  for (const std::string& table : contents().tables) {
    EXPECT_EQ(table.find("COLLATE"), std::string::npos) << table;
    EXPECT_EQ(table.find("valid_from"), std::string::npos) << table;
  }
}

}  // namespace
}  // namespace schema::archive::v4
