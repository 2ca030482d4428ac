#pragma once
// The run metrics: table "metrics_facts", a flat fact table without keys
// (one row per side of a run at an instant, pre-bucketed by hour, day, week
// and month), its indexes and the catalog's one extended-statistics object.

#include <string_view>

#include "schema/entity.h"
#include "sqlbuilder/column.h"

namespace schema::current::metrics_facts {

enum class MetricsFacts {
  Table,
  Ts,
  TsHourMs,
  TsDayMs,
  TsWeekMs,
  TsMonthMs,
  ProjectId,
  FromGroupId,
  FromCollectionId,
  GroupId,
  CollectionId,
  ExecutionId,
  TransactionId,
  FunctionId,
  FunctionRunId,
  AttemptId,
  AttemptOutcome,
  RunStatus,
  Replay,
  Current,
  RunHasInputs,
  RunHasOutputs,
  Side,
  TableId,
  TableVersionId,
  Private,
  HasData,
  RowCount,
  DataBytes,
  FirstConsumedOn,
  EdgeKind,
  EdgeFirst,
  EdgeFirstGroup,
};

std::string_view to_string(MetricsFacts iden);

// NOT NULL metric columns: bigint, text and boolean.
sqlbuilder::ColumnDef big(MetricsFacts column);
sqlbuilder::ColumnDef text(MetricsFacts column);
sqlbuilder::ColumnDef flag(MetricsFacts column);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::statistics::StatisticsDef> create_statistics() const override;
};

}  // namespace schema::current::metrics_facts
