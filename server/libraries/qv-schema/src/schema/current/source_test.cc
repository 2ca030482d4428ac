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

TEST(CurrentSource, DeltaIsNotYetAvailable) {
  const auto delta = Source().delta(5);
  ASSERT_FALSE(delta.has_value());
  EXPECT_EQ(delta.error(), "No delta migration for version 5");
}

}  // namespace
}  // namespace schema::current
