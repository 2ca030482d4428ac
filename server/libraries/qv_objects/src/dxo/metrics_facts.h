#pragma once

// Data-access records of metrics facts.

#include <string_view>

namespace dxo::metrics_facts {

struct MetricsFactDBIden {
  static constexpr std::string_view Table = "metrics_facts";
  static constexpr std::string_view kColumns[] = {"ts",
                                                  "ts_hour_ms",
                                                  "ts_day_ms",
                                                  "ts_week_ms",
                                                  "ts_month_ms",
                                                  "project_id",
                                                  "from_group_id",
                                                  "from_collection_id",
                                                  "group_id",
                                                  "collection_id",
                                                  "execution_id",
                                                  "transaction_id",
                                                  "function_id",
                                                  "function_run_id",
                                                  "attempt_id",
                                                  "attempt_outcome",
                                                  "run_status",
                                                  "replay",
                                                  "current",
                                                  "run_has_inputs",
                                                  "run_has_outputs",
                                                  "side",
                                                  "table_id",
                                                  "table_version_id",
                                                  "private",
                                                  "has_data",
                                                  "row_count",
                                                  "data_bytes",
                                                  "first_consumed_on",
                                                  "edge_kind",
                                                  "edge_first",
                                                  "edge_first_group"};
};

struct MetricsFactDB {
  using Iden = MetricsFactDBIden;
  static constexpr std::string_view kDisplayName = "Metrics Fact";
};

}  // namespace dxo::metrics_facts
