#pragma once
// The history that the step to version 10 writes into "metrics_facts": one
// fact per finished attempt ("attempt"), one per run on its current attempt
// ("run"), one per user table version an attempt wrote ("written") and one
// per input table version a run read, on its current attempt ("read").
// Each fact is stamped with the event's end and its hour, day, week and
// month buckets.

#include <string>
#include <string_view>
#include <vector>

#include "sqlbuilder/expr.h"
#include "sqlbuilder/insert.h"
#include "sqlbuilder/select.h"

namespace schema::deltas::v9_to_v10 {

// The common table expressions and subqueries of the fill.
enum class Cte { Attempts, Writes, Reads, Reading, Writing, Consuming };

// The columns that every selection of facts reads from its source, in the
// order of the table's columns.
enum class Fact {
  EndedOn,
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
  TableId,
  TableVersionId,
  Private,
  HasData,
  RowCount,
  DataBytes,
  FirstConsumedOn,
};

std::string_view to_string(Cte iden);
std::string_view to_string(Fact iden);

// (EXTRACT(EPOCH FROM date_trunc('<unit>', "<source>"."ended_on" AT TIME
// ZONE 'UTC')) * 1000)::bigint: the event's end truncated to the unit in
// UTC, as epoch milliseconds.
sqlbuilder::Expr floor_ms(std::string_view unit, std::string_view source);

// row_number() OVER (PARTITION BY "<source>"."<c>", ... ORDER BY
// "<source>"."table_version_id") = 1
sqlbuilder::Expr first_of(const std::vector<std::string_view>& partition, std::string_view source);

// "logical_table_data_versions"."function_param_pos" >= 0: a version of a
// user table (system tables have negative positions).
sqlbuilder::Expr is_user_table();

// The edge columns of a fact: what kind of data flow it stands for, and
// whether it is the first of its attempt and of its attempt and source group.
struct Edge {
  sqlbuilder::Expr kind;
  sqlbuilder::Expr first;
  sqlbuilder::Expr first_group;
};

// One fact per row of `source`, a table side ("writes" or "reads"), with
// its columns in the table's order.
sqlbuilder::Select side_select(Cte source, std::string_view side, const Edge& edge);

// One row per finished attempt.
sqlbuilder::Select attempts_cte();
// One row per table version an attempt wrote; "written" marks those
// actually written.
sqlbuilder::Select writes_cte();
// One row per input table version of an attempt's run.
sqlbuilder::Select reads_cte();

// The four selections of facts, united, with their common table expressions.
sqlbuilder::Select rows();

// INSERT INTO "metrics_facts" (<32 columns>) WITH ... SELECT ...
sqlbuilder::Insert fill();

}  // namespace schema::deltas::v9_to_v10
