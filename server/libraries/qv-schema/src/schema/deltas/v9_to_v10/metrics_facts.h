#pragma once
// The metrics facts table as the step to version 10 creates it.

#include <string_view>

#include "sqlbuilder/column.h"
#include "sqlbuilder/iden.h"
#include "sqlbuilder/table.h"

namespace schema::deltas::v9_to_v10 {

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

// NOT NULL columns of the table: bigint, text and boolean.
sqlbuilder::ColumnDef big(MetricsFacts column);
sqlbuilder::ColumnDef text(MetricsFacts column);
sqlbuilder::ColumnDef flag(MetricsFacts column);

// CREATE TABLE "metrics_facts" with its 32 columns; no keys.
sqlbuilder::TableCreate create_table();

}  // namespace schema::deltas::v9_to_v10
