#include "schema/deltas/v9_to_v10/metrics_facts.h"

#include <array>

#include "schema/sql/column.h"

namespace schema::deltas::v9_to_v10 {

using sql::id_column;
using sql::logical_id_column;
using sqlbuilder::ColumnDef;
using F = MetricsFacts;

std::string_view to_string(MetricsFacts iden) {
  static constexpr std::array<std::string_view, 33> kTexts = {
      "metrics_facts",
      "ts",
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
      "edge_first_group",
  };
  return kTexts.at(static_cast<std::size_t>(iden));
}

ColumnDef big(MetricsFacts column) {
  ColumnDef def(column);
  def.big_integer().not_null();
  return def;
}

ColumnDef text(MetricsFacts column) {
  ColumnDef def(column);
  def.text().not_null();
  return def;
}

ColumnDef flag(MetricsFacts column) {
  ColumnDef def(column);
  def.boolean().not_null();
  return def;
}

sqlbuilder::TableCreate create_table() {
  sqlbuilder::TableCreate table;
  table.table(F::Table)
      .col(ColumnDef(F::Ts).timestamp_with_time_zone().not_null())
      .col(big(F::TsHourMs))
      .col(big(F::TsDayMs))
      .col(big(F::TsWeekMs))
      .col(big(F::TsMonthMs))
      .col(id_column(F::ProjectId).not_null())
      .col(id_column(F::FromGroupId).null())
      .col(id_column(F::FromCollectionId).null())
      .col(id_column(F::GroupId).not_null())
      .col(id_column(F::CollectionId).not_null())
      .col(logical_id_column(F::ExecutionId).not_null())
      .col(logical_id_column(F::TransactionId).not_null())
      .col(id_column(F::FunctionId).not_null())
      .col(logical_id_column(F::FunctionRunId).not_null())
      .col(logical_id_column(F::AttemptId).not_null())
      .col(text(F::AttemptOutcome))
      .col(text(F::RunStatus))
      .col(big(F::Replay))
      .col(flag(F::Current))
      .col(flag(F::RunHasInputs))
      .col(flag(F::RunHasOutputs))
      .col(text(F::Side))
      .col(id_column(F::TableId).null())
      .col(logical_id_column(F::TableVersionId).null())
      .col(flag(F::Private))
      .col(flag(F::HasData))
      .col(big(F::RowCount))
      .col(big(F::DataBytes))
      .col(ColumnDef(F::FirstConsumedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(F::EdgeKind).text().null())
      .col(flag(F::EdgeFirst))
      .col(flag(F::EdgeFirstGroup));
  return table;
}

}  // namespace schema::deltas::v9_to_v10
