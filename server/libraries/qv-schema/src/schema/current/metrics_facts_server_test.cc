// Metrics facts on a real server: optional columns, no key, and the grouping
// statistics that the planner uses.

#include <gtest/gtest.h>

#include <string>

#include "test_support/run_rows.h"

namespace schema::current::metrics_facts {
namespace {

using test_support::RunRowsFixture;

constexpr const char* kFacts = "metrics_facts";

class MetricsFactsServerTest : public RunRowsFixture {};

// The usual fact leaves from_group_id, from_collection_id, table_id,
// table_version_id, first_consumed_on and edge_kind out.
TEST_F(MetricsFactsServerTest, OptionalColumnsMayBeLeftOut) {
  EXPECT_EQ(insert(kFacts), "ok");
  EXPECT_EQ(value("SELECT num_nulls(from_group_id, from_collection_id, table_id, table_version_id, "
                  "first_consumed_on, edge_kind) FROM metrics_facts"),
            "6");
  for (const char* column : {"ts", "project_id", "attempt_id", "run_status", "current", "row_count"}) {
    EXPECT_EQ(insert(kFacts, {{column, "NULL"}}), std::string("23502 null value in column \"") + column +
                                                      "\" of relation \"metrics_facts\" violates not-null constraint");
  }
}

TEST_F(MetricsFactsServerTest, EqualFactsAreAllKept) {
  EXPECT_EQ(insert(kFacts), "ok");
  EXPECT_EQ(insert(kFacts), "ok");
  EXPECT_EQ(value("SELECT count(*) FROM metrics_facts"), "2");
}

// Sides and edge kinds go together: two groupings, where the columns'
// separate counts of distinct values would suggest four. Enough rows that the
// planner's guess without the statistics is not capped below four.
TEST_F(MetricsFactsServerTest, PlannerCountsGroupingsFromTheStatistics) {
  add(kFacts, {{"side", "'input'"}, {"edge_kind", "'read'"}});
  add(kFacts, {{"side", "'output'"}, {"edge_kind", "'write'"}});
  for (int doubling = 0; doubling < 6; ++doubling) {
    ASSERT_EQ(outcome("INSERT INTO metrics_facts SELECT * FROM metrics_facts"), "ok");
  }
  ASSERT_EQ(outcome("ANALYZE metrics_facts"), "ok");

  // The server keeps the columns in the table's order.
  EXPECT_EQ(value("SELECT attnames FROM pg_stats_ext WHERE statistics_name = 'metrics_facts___grouping___stx'"),
            "{from_group_id,from_collection_id,group_id,collection_id,run_status,side,table_id,edge_kind}");
  const std::string plan =
      value("EXPLAIN (FORMAT JSON) SELECT side, edge_kind FROM metrics_facts GROUP BY side, edge_kind");
  const std::string rows = "\"Plan Rows\": ";
  const std::size_t found = plan.find(rows);
  ASSERT_NE(found, std::string::npos) << plan;
  EXPECT_EQ(plan.substr(found + rows.size(), 2), "2,") << plan;
}

}  // namespace
}  // namespace schema::current::metrics_facts
