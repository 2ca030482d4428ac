#include "schema/sql/statistics.h"

#include <gtest/gtest.h>

namespace schema::sql::statistics {
namespace {

TEST(StatisticsDef, ListsColumnsInTheGivenOrder) {
  const StatisticsDef statistics{"metrics_facts___grouping___stx", "metrics_facts", {"c", "a", "b"}};
  const source::Derived derived = statistics.derived();
  EXPECT_EQ(derived.create, std::vector<std::string>{"CREATE STATISTICS \"metrics_facts___grouping___stx\" (ndistinct) "
                                                     "ON \"c\", \"a\", \"b\" FROM \"metrics_facts\""});
  EXPECT_EQ(derived.drop, std::vector<std::string>{"DROP STATISTICS IF EXISTS \"metrics_facts___grouping___stx\""});
}

}  // namespace
}  // namespace schema::sql::statistics
