#include "schema/current/metrics_facts.h"

#include <gtest/gtest.h>

#include "schema/testing/entity_texts.h"

namespace schema::current::metrics_facts {
namespace {

using Texts = std::vector<std::string>;

TEST(MetricsFacts, TableWithoutKeys) {
  EXPECT_EQ(entity_texts::tables(Defs()), (Texts{
      R"sql(CREATE TABLE "metrics_facts" ( "ts" timestamp with time zone NOT NULL, "ts_hour_ms" bigint NOT NULL, )sql"
      R"sql("ts_day_ms" bigint NOT NULL, "ts_week_ms" bigint NOT NULL, "ts_month_ms" bigint NOT NULL, )sql"
      R"sql("project_id" text NOT NULL COLLATE "C", "from_group_id" text NULL COLLATE "C", )sql"
      R"sql("from_collection_id" text NULL COLLATE "C", "group_id" text NOT NULL COLLATE "C", )sql"
      R"sql("collection_id" text NOT NULL COLLATE "C", "execution_id" bigint NOT NULL, )sql"
      R"sql("transaction_id" bigint NOT NULL, "function_id" text NOT NULL COLLATE "C", )sql"
      R"sql("function_run_id" bigint NOT NULL, "attempt_id" bigint NOT NULL, "attempt_outcome" text NOT NULL, )sql"
      R"sql("run_status" text NOT NULL, "replay" bigint NOT NULL, "current" boolean NOT NULL, )sql"
      R"sql("run_has_inputs" boolean NOT NULL, "run_has_outputs" boolean NOT NULL, "side" text NOT NULL, )sql"
      R"sql("table_id" text NULL COLLATE "C", "table_version_id" bigint NULL, "private" boolean NOT NULL, )sql"
      R"sql("has_data" boolean NOT NULL, "row_count" bigint NOT NULL, "data_bytes" bigint NOT NULL, )sql"
      R"sql("first_consumed_on" timestamp with time zone NULL, "edge_kind" text NULL, )sql"
      R"sql("edge_first" boolean NOT NULL, "edge_first_group" boolean NOT NULL ))sql"
  }));
}

TEST(MetricsFacts, Indexes) {
  EXPECT_EQ(entity_texts::indexes(Defs()), (Texts{
      R"sql(CREATE INDEX "metrics_facts___project_id__ts___idx" ON "metrics_facts" ("project_id", "ts"))sql",
      R"sql(CREATE INDEX "metrics_facts___ts___idx" ON "metrics_facts" ("ts"))sql",
      R"sql(CREATE INDEX "metrics_facts___function_run_id___idx" ON "metrics_facts" ("function_run_id"))sql",
      R"sql(CREATE INDEX "metrics_facts___attempt_id___idx" ON "metrics_facts" ("attempt_id"))sql",
      R"sql(CREATE INDEX "metrics_facts___table_version_id__side___idx" ON "metrics_facts" )sql"
      R"sql(("table_version_id", "side"))sql"
  }));
}

TEST(MetricsFacts, GroupingStatistics) {
  const std::vector<sql::statistics::StatisticsDef> statistics = Defs().create_statistics();
  ASSERT_EQ(statistics.size(), 1u);
  EXPECT_EQ(statistics[0].derived(),
            (source::Derived{
                {R"sql(CREATE STATISTICS "metrics_facts___grouping___stx" (ndistinct) ON "side", "edge_kind", )sql"
                 R"sql("from_collection_id", "from_group_id", "collection_id", "group_id", "run_status", "table_id" )sql"
                 R"sql(FROM "metrics_facts")sql"},
                {R"sql(DROP STATISTICS IF EXISTS "metrics_facts___grouping___stx")sql"}}));
}

}  // namespace
}  // namespace schema::current::metrics_facts
