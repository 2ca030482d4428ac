#include "schema/current/source.h"

#include <gtest/gtest.h>

namespace schema::current {
namespace {

TEST(CurrentSource, Version) { EXPECT_EQ(Source().current_version(), 13u); }

TEST(CurrentSource, TablesStartWithUsers) {
  const std::vector<std::string> tables = Source().tables();
  ASSERT_FALSE(tables.empty());
  EXPECT_TRUE(tables.front().starts_with("CREATE TABLE \"users\" ( ")) << tables.front();
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
