#include "schema/current/source.h"

#include <gtest/gtest.h>

#include "schema/current/entities.h"
#include "schema/current/metrics_facts.h"

namespace schema::current {
namespace {

TEST(CurrentSource, Version) { EXPECT_EQ(Source().current_version(), 13u); }

TEST(CurrentSource, TablesStartWithUsersAndEndWithMetricsFacts) {
  const std::vector<std::string> tables = Source().tables();
  ASSERT_EQ(tables.size(), 26u);  // every module but system and function_versions
  EXPECT_TRUE(tables.front().starts_with("CREATE TABLE \"users\" ( ")) << tables.front();
  EXPECT_TRUE(tables.back().starts_with("CREATE TABLE \"metrics_facts\" ( ")) << tables.back();
}

TEST(CurrentSource, IndexesAreThePlainIndexesOfEveryEntityInOrder) {
  std::vector<source::Derived> expected;
  for (const entity::Entity* entity : current_entities()) {
    for (const sqlbuilder::IndexCreate& index : entity->create_indices())
      expected.push_back(source::index_derived(index));
  }
  EXPECT_EQ(Source().indexes(), expected);
}

TEST(CurrentSource, StatisticsAreThoseOfMetricsFacts) {
  std::vector<source::Derived> expected;
  for (const sql::statistics::StatisticsDef& statistics : metrics_facts::Defs().create_statistics()) {
    expected.push_back(statistics.derived());
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Source().statistics(), expected);
}

TEST(CurrentSource, SeedsStartWithTheSystemRowThenTheUsers) {
  const std::vector<std::string> seeds = Source().seeds();
  ASSERT_GE(seeds.size(), 3u);
  EXPECT_EQ(seeds[0], "INSERT INTO \"quorvale_system\" (\"name\", \"value\") VALUES ('quorvale_version', '2')");
  EXPECT_TRUE(seeds[1].starts_with("INSERT INTO \"users\" ")) << seeds[1];
  EXPECT_NE(seeds[1].find("'system'"), std::string::npos);
  EXPECT_NE(seeds[2].find("'admin'"), std::string::npos);
}

TEST(CurrentSource, ViewsInEntityOrder) {
  const std::vector<source::Derived> views = Source().views();
  ASSERT_FALSE(views.empty());
  EXPECT_EQ(views.front().drop, std::vector<std::string>{"DROP VIEW IF EXISTS users__with_names"});
}

// The sizes the schema's definition fixes for version 13.
TEST(CurrentSource, HoldsTheObjectsOfVersionThirteen) {
  const Source source;
  EXPECT_EQ(current_entities().size(), 28u);
  EXPECT_EQ(source.indexes().size(), 114u);
  EXPECT_EQ(source.views().size(), 29u);
  EXPECT_EQ(source.triggers().size(), 12u);
  EXPECT_EQ(source.statistics().size(), 1u);
  EXPECT_EQ(source.seeds().size(), 14u);
  const source::DerivedScripts scripts = source::derived_scripts(source);
  EXPECT_EQ(scripts.drops.size(), 170u);
  EXPECT_EQ(scripts.creates.size(), 170u);
}

TEST(CurrentSource, RlsHasFiveStatementsPerProjectScopedTable) { EXPECT_EQ(Source().rls().size(), 95u); }

TEST(CurrentSource, DeltaIsTheVersionStep) {
  const auto delta = Source().delta(13);
  ASSERT_TRUE(delta.has_value()) << delta.error();
  EXPECT_EQ(delta->up.back(), "UPDATE quorvale_system SET value = '13' WHERE name = 'db_version'");
  const auto beyond = Source().delta(14);
  ASSERT_FALSE(beyond.has_value());
  EXPECT_EQ(beyond.error(), "No delta migration for version 14");
}

}  // namespace
}  // namespace schema::current
