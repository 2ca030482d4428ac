#include "schema/current/metrics_facts.h"

#include <array>
#include <cstddef>

#include "schema/sql/column.h"

namespace schema::current::metrics_facts {
namespace {

using M = MetricsFacts;
using sql::id_column;
using sql::logical_id_column;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;

constexpr std::array<std::string_view, 33> kNames = {
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

}  // namespace

std::string_view to_string(MetricsFacts iden) { return kNames.at(static_cast<std::size_t>(iden)); }

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

// An append-and-aggregate store: no primary key and no foreign keys.
std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(M::Table)
      .col(ColumnDef(M::Ts).timestamp_with_time_zone().not_null())
      .col(big(M::TsHourMs))
      .col(big(M::TsDayMs))
      .col(big(M::TsWeekMs))
      .col(big(M::TsMonthMs))
      .col(id_column(M::ProjectId).not_null())
      .col(id_column(M::FromGroupId).null())
      .col(id_column(M::FromCollectionId).null())
      .col(id_column(M::GroupId).not_null())
      .col(id_column(M::CollectionId).not_null())
      .col(logical_id_column(M::ExecutionId).not_null())
      .col(logical_id_column(M::TransactionId).not_null())
      .col(id_column(M::FunctionId).not_null())
      .col(logical_id_column(M::FunctionRunId).not_null())
      .col(logical_id_column(M::AttemptId).not_null())
      .col(text(M::AttemptOutcome))
      .col(text(M::RunStatus))
      .col(big(M::Replay))
      .col(flag(M::Current))
      .col(flag(M::RunHasInputs))
      .col(flag(M::RunHasOutputs))
      .col(text(M::Side))
      .col(id_column(M::TableId).null())
      .col(logical_id_column(M::TableVersionId).null())
      .col(flag(M::Private))
      .col(flag(M::HasData))
      .col(big(M::RowCount))
      .col(big(M::DataBytes))
      .col(ColumnDef(M::FirstConsumedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(M::EdgeKind).text().null())
      .col(flag(M::EdgeFirst))
      .col(flag(M::EdgeFirstGroup));
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(M::Table); };
  return {
      index("metrics_facts___project_id__ts___idx").col(M::ProjectId).col(M::Ts),
      index("metrics_facts___ts___idx").col(M::Ts),
      index("metrics_facts___function_run_id___idx").col(M::FunctionRunId),
      index("metrics_facts___attempt_id___idx").col(M::AttemptId),
      index("metrics_facts___table_version_id__side___idx").col(M::TableVersionId).col(M::Side),
  };
}

// The columns that reports group facts by, so the planner knows how few
// distinct combinations they take.
std::vector<sql::statistics::StatisticsDef> Defs::create_statistics() const {
  return {{"metrics_facts___grouping___stx",
           M::Table,
           {M::Side, M::EdgeKind, M::FromCollectionId, M::FromGroupId, M::CollectionId, M::GroupId, M::RunStatus,
            M::TableId}}};
}

}  // namespace schema::current::metrics_facts
