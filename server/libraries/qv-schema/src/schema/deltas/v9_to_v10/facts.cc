#include "schema/deltas/v9_to_v10/facts.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "schema/deltas/v9_to_v10/metrics_facts.h"
#include "sqlbuilder/template.h"

namespace schema::deltas::v9_to_v10 {

using sqlbuilder::Case;
using sqlbuilder::col;
using sqlbuilder::custom;
using sqlbuilder::Expr;
using sqlbuilder::func;
using sqlbuilder::Iden;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::val;

namespace {

// The tables the history comes from.
constexpr const char* kAttemptRows = "physical_function_runs";
constexpr const char* kRuns = "logical_function_runs";
constexpr const char* kVersions = "logical_table_data_versions";
constexpr const char* kPhysicalVersions = "physical_table_data_versions";
constexpr const char* kInputs = "logical_function_run_inputs";

// The marker of the table versions an attempt actually wrote.
constexpr const char* kWritten = "written";

// The facts of a run's attempt, in order, after its end and project.
constexpr std::array<Fact, 13> kAttemptFacts = {
    Fact::GroupId,       Fact::CollectionId, Fact::ExecutionId,    Fact::TransactionId, Fact::FunctionId,
    Fact::FunctionRunId, Fact::AttemptId,    Fact::AttemptOutcome, Fact::RunStatus,     Fact::Replay,
    Fact::Current,       Fact::RunHasInputs, Fact::RunHasOutputs,
};

// The facts of a table version, in order.
constexpr std::array<Fact, 7> kTableFacts = {
    Fact::TableId,  Fact::TableVersionId, Fact::Private,         Fact::HasData,
    Fact::RowCount, Fact::DataBytes,      Fact::FirstConsumedOn,
};

Expr text(std::string_view value) { return val(std::string(value)); }
// A typed NULL: an untyped one would make its column text in the union
// (the facts of attempts come first).
Expr null_of(std::string_view type) { return custom("NULL::" + std::string(type)); }

Expr in_texts(Expr operand, std::initializer_list<const char*> values) {
  std::vector<Expr> list;
  for (const char* value : values) list.push_back(text(value));
  return operand.in(std::move(list));
}

// What became of an ended attempt.
Expr attempt_outcome() {
  const Expr status = col(kAttemptRows, "status");
  return Case()
      .when(status.eq(text("D")), text("succeeded"))
      .when(status.eq(text("F")), text("failed"))
      .otherwise(text("interrupted"))
      .end();
}

// The run's status in the groups that the status rollups use.
Expr run_status() {
  const Expr status = col(kRuns, "status");
  return Case()
      .when(status.eq(text("S")), text("scheduled"))
      .when(in_texts(status, {"RR", "RS", "R", "D", "E"}), text("running"))
      .when(in_texts(status, {"F", "H"}), text("failed"))
      .when(status.eq(text("C")), text("committed"))
      .when(in_texts(status, {"X", "Y"}), text("cancelled"))
      .otherwise(text("unknown"))
      .end();
}

// 0 for the first attempt of a run, 1 for the next, ...
Expr replay() {
  sqlbuilder::Window window;
  window.partition_by(col(kAttemptRows, "logical_function_run_id")).order_by(col(kAttemptRows, "valid_from"));
  return func("row_number", {}).over(window).sub(val(1));
}

// The runs with at least one input table version of a user dependency.
Select reading() {
  Select select;
  select.distinct()
      .expr_as(col(kInputs, "logical_function_run_id"), Fact::FunctionRunId)
      .from(kInputs)
      .and_where(col("requirement_logical_table_data_version_id").is_not_null())
      .and_where(col("requirement_dependency_pos").ge(val(0)));
  return select;
}

// The runs that produced at least one version of a user table.
Select writing() {
  Select select;
  select.distinct()
      .expr_as(col(kVersions, "producer_logical_function_run_id"), Fact::FunctionRunId)
      .from(kVersions)
      .and_where(is_user_table());
  return select;
}

// When each logical table data version was first read: the earliest start
// of an ended attempt of a run that had it as input.
Select consuming() {
  Select select;
  select.expr_as(col(kInputs, "requirement_logical_table_data_version_id"), Fact::TableVersionId)
      .expr_as(func("min", {col(kAttemptRows, "started_on")}), Fact::FirstConsumedOn)
      .from(kInputs)
      .join(JoinType::Inner, kAttemptRows,
            col(kAttemptRows, "logical_function_run_id").eq(col(kInputs, "logical_function_run_id")))
      .and_where(col(kInputs, "requirement_logical_table_data_version_id").is_not_null())
      .and_where(col(kInputs, "requirement_dependency_pos").ge(val(0)))
      .and_where(col(kAttemptRows, "ended_on").is_not_null())
      .group_by(col(kInputs, "requirement_logical_table_data_version_id"));
  return select;
}

// The facts of "attempts" that a table side carries on, with the group and
// collection the data came from.
void attempt_columns(Select& select, Expr from_group, Expr from_collection) {
  select.expr_as(col(Cte::Attempts, Fact::EndedOn), Fact::EndedOn)
      .expr_as(col(Cte::Attempts, Fact::ProjectId), Fact::ProjectId)
      .expr_as(std::move(from_group), Fact::FromGroupId)
      .expr_as(std::move(from_collection), Fact::FromCollectionId);
  for (const Fact fact : kAttemptFacts) select.expr_as(col(Cte::Attempts, fact), fact);
}

// The facts of the logical table data version in the select, with its
// physical version (absent for an outer join that found none).
void table_columns(Select& select) {
  select.expr_as(col(kVersions, "table_id"), Fact::TableId)
      .expr_as(col(kVersions, "id"), Fact::TableVersionId)
      .expr_as(col(kVersions, "private"), Fact::Private)
      .expr_as(func("COALESCE", {col(kPhysicalVersions, "has_data"), val(false)}), Fact::HasData)
      .expr_as(func("COALESCE", {col(kPhysicalVersions, "row_count"), val(0)}), Fact::RowCount)
      .expr_as(func("COALESCE", {col(kPhysicalVersions, "data_bytes"), val(0)}), Fact::DataBytes)
      .expr_as(col(Cte::Consuming, Fact::FirstConsumedOn), Fact::FirstConsumedOn);
}

Select& join_consuming(Select& select) {
  return select.join_subquery(JoinType::Left, consuming(), Cte::Consuming,
                              col(Cte::Consuming, Fact::TableVersionId).eq(col(kVersions, "id")));
}

// One fact per row of `source`, each column given by `value`.
Select facts(Cte source, std::string_view side, const std::function<Expr(Fact)>& value, const Edge& edge) {
  const std::string alias(to_string(source));
  Select select;
  select.expr_as(value(Fact::EndedOn), MetricsFacts::Ts)
      .expr_as(floor_ms("hour", alias), MetricsFacts::TsHourMs)
      .expr_as(floor_ms("day", alias), MetricsFacts::TsDayMs)
      .expr_as(floor_ms("week", alias), MetricsFacts::TsWeekMs)
      .expr_as(floor_ms("month", alias), MetricsFacts::TsMonthMs);
  for (const Fact fact : {Fact::ProjectId, Fact::FromGroupId, Fact::FromCollectionId}) {
    select.expr_as(value(fact), fact);
  }
  for (const Fact fact : kAttemptFacts) select.expr_as(value(fact), fact);
  select.expr_as(text(side), MetricsFacts::Side);
  for (const Fact fact : kTableFacts) select.expr_as(value(fact), fact);
  select.expr_as(edge.kind, MetricsFacts::EdgeKind)
      .expr_as(edge.first, MetricsFacts::EdgeFirst)
      .expr_as(edge.first_group, MetricsFacts::EdgeFirstGroup)
      .from(source);
  return select;
}

// A fact of an attempt or run: no table, no data, no edge.
Select attempt_side(std::string_view side) {
  const auto value = [](Fact fact) {
    switch (fact) {
      case Fact::FromGroupId:
      case Fact::FromCollectionId:
      case Fact::TableId:
        return null_of("text");
      case Fact::TableVersionId:
        return null_of("bigint");
      case Fact::FirstConsumedOn:
        return null_of("timestamptz");
      case Fact::Private:
      case Fact::HasData:
        return val(false);
      case Fact::RowCount:
      case Fact::DataBytes:
        return val(0);
      default:
        return col(Cte::Attempts, fact);
    }
  };
  return facts(Cte::Attempts, side, value, {null_of("text"), val(false), val(false)});
}

// A version written by an attempt of a run without inputs is where data
// enters the platform: a source edge.
Expr without_inputs() { return col(Cte::Writes, Fact::RunHasInputs).eq(val(false)); }

Expr first_source_of_attempt(std::string_view source) {
  return first_of({to_string(Fact::AttemptId)}, source).and_(without_inputs());
}

}  // namespace

std::string_view to_string(Cte iden) {
  static constexpr std::array<std::string_view, 6> kTexts = {"attempts", "writes",  "reads",
                                                             "reading",  "writing", "consuming"};
  return kTexts.at(static_cast<std::size_t>(iden));
}

std::string_view to_string(Fact iden) {
  static constexpr std::array<std::string_view, 24> kTexts = {
      "ended_on",        "project_id",      "from_group_id",    "from_collection_id",
      "group_id",        "collection_id",   "execution_id",     "transaction_id",
      "function_id",     "function_run_id", "attempt_id",       "attempt_outcome",
      "run_status",      "replay",          "current",          "run_has_inputs",
      "run_has_outputs", "table_id",        "table_version_id", "private",
      "has_data",        "row_count",       "data_bytes",       "first_consumed_on",
  };
  return kTexts.at(static_cast<std::size_t>(iden));
}

Expr floor_ms(std::string_view unit, std::string_view source) {
  return custom(sqlbuilder::format_template(
      R"sql((EXTRACT(EPOCH FROM date_trunc('{}', "{}"."ended_on" AT TIME ZONE 'UTC')) * 1000)::bigint)sql",
      {std::string(unit), std::string(source)}));
}

Expr first_of(const std::vector<std::string_view>& partition, std::string_view source) {
  std::string columns;
  for (const std::string_view column : partition) {
    if (!columns.empty()) columns += ", ";
    columns += sqlbuilder::format_template("\"{}\".\"{}\"", {std::string(source), std::string(column)});
  }
  return custom(
      sqlbuilder::format_template(R"sql(row_number() OVER (PARTITION BY {} ORDER BY "{}"."table_version_id") = 1)sql",
                                  {columns, std::string(source)}));
}

Expr is_user_table() { return col(kVersions, "function_param_pos").ge(val(0)); }

Select side_select(Cte source, std::string_view side, const Edge& edge) {
  return facts(
      source, side, [source](Fact fact) { return col(source, fact); }, edge);
}

Select attempts_cte() {
  Select select;
  select.expr_as(col(kAttemptRows, "ended_on"), Fact::EndedOn)
      .expr_as(col(kRuns, "project_id"), Fact::ProjectId)
      .expr_as(col(kRuns, "group_id"), Fact::GroupId)
      .expr_as(col(kRuns, "collection_id"), Fact::CollectionId)
      .expr_as(col(kRuns, "execution_id"), Fact::ExecutionId)
      .expr_as(col(kRuns, "transaction_id"), Fact::TransactionId)
      .expr_as(col(kRuns, "function_id"), Fact::FunctionId)
      .expr_as(col(kRuns, "id"), Fact::FunctionRunId)
      .expr_as(col(kAttemptRows, "id"), Fact::AttemptId)
      .expr_as(attempt_outcome(), Fact::AttemptOutcome)
      .expr_as(run_status(), Fact::RunStatus)
      .expr_as(replay(), Fact::Replay)
      .expr_as(col(kAttemptRows, "valid_to").eq(custom("'infinity'::timestamptz")), Fact::Current)
      .expr_as(col(Cte::Reading, Fact::FunctionRunId).is_not_null(), Fact::RunHasInputs)
      .expr_as(col(Cte::Writing, Fact::FunctionRunId).is_not_null(), Fact::RunHasOutputs)
      .from(kAttemptRows)
      .join(JoinType::Inner, kRuns, col(kRuns, "id").eq(col(kAttemptRows, "logical_function_run_id")))
      .join_subquery(JoinType::Left, reading(), Cte::Reading,
                     col(Cte::Reading, Fact::FunctionRunId).eq(col(kRuns, "id")))
      .join_subquery(JoinType::Left, writing(), Cte::Writing,
                     col(Cte::Writing, Fact::FunctionRunId).eq(col(kRuns, "id")))
      .and_where(col(kAttemptRows, "ended_on").is_not_null());
  return select;
}

Select writes_cte() {
  Select select;
  attempt_columns(select, null_of("text"), null_of("text"));
  table_columns(select);
  // A version without has_data was planned but never written.
  select.expr_as(col(kPhysicalVersions, "has_data").is_not_null(), kWritten)
      .from(Cte::Attempts)
      .join(JoinType::Inner, kPhysicalVersions,
            col(kPhysicalVersions, "physical_function_run_id").eq(col(Cte::Attempts, Fact::AttemptId)))
      .join(JoinType::Inner, kVersions,
            col(kVersions, "id").eq(col(kPhysicalVersions, "logical_table_data_version_id")));
  join_consuming(select).and_where(is_user_table());
  return select;
}

Select reads_cte() {
  // The physical version that was live when the attempt started.
  const Expr started = col(kAttemptRows, "started_on");
  const Expr live_at_start = col(kPhysicalVersions, "logical_table_data_version_id")
                                 .eq(col(kVersions, "id"))
                                 .and_(col(kPhysicalVersions, "valid_from").le(started))
                                 .and_(started.lt(col(kPhysicalVersions, "valid_to")));
  Select select;
  attempt_columns(select, col(kVersions, "group_id"), col(kVersions, "collection_id"));
  table_columns(select);
  select.from(Cte::Attempts)
      .join(JoinType::Inner, kAttemptRows, col(kAttemptRows, "id").eq(col(Cte::Attempts, Fact::AttemptId)))
      .join(JoinType::Inner, kInputs,
            col(kInputs, "logical_function_run_id").eq(col(Cte::Attempts, Fact::FunctionRunId)))
      .join(JoinType::Inner, kVersions,
            col(kVersions, "id").eq(col(kInputs, "requirement_logical_table_data_version_id")))
      .join(JoinType::Left, kPhysicalVersions, live_at_start);
  join_consuming(select).and_where(col(kInputs, "requirement_dependency_pos").ge(val(0)));
  return select;
}

Select rows() {
  // A run's inputs are known per run, not per attempt: they are read facts
  // of its current attempt only.
  Select runs = attempt_side("run");
  runs.and_where(col(Cte::Attempts, Fact::Current));
  Select written =
      side_select(Cte::Writes, "written",
                  {Case().when(without_inputs(), text("source")).end(), first_source_of_attempt(to_string(Cte::Writes)),
                   first_source_of_attempt(to_string(Cte::Writes))});
  written.and_where(col(Cte::Writes, kWritten));
  const std::string reads(to_string(Cte::Reads));
  Select read = side_select(Cte::Reads, "read",
                            {text("input"), first_of({to_string(Fact::AttemptId)}, reads),
                             first_of({to_string(Fact::AttemptId), to_string(Fact::FromGroupId)}, reads)});
  read.and_where(col(Cte::Reads, Fact::Current));

  Select all = attempt_side("attempt");
  all.with(Cte::Attempts, attempts_cte())
      .with(Cte::Writes, writes_cte())
      .with(Cte::Reads, reads_cte())
      .union_all(runs)
      .union_all(written)
      .union_all(read);
  return all;
}

sqlbuilder::Insert fill() {
  std::vector<Iden> columns;
  for (int column = static_cast<int>(MetricsFacts::Ts); column <= static_cast<int>(MetricsFacts::EdgeFirstGroup);
       ++column) {
    columns.emplace_back(static_cast<MetricsFacts>(column));
  }
  Select selected = rows();
  if (selected.width() != columns.size()) {
    std::fputs("the projection matches the inserted columns\n", stderr);
    std::abort();
  }
  sqlbuilder::Insert insert;
  insert.into(MetricsFacts::Table).columns(std::move(columns)).select_from(std::move(selected));
  return insert;
}

}  // namespace schema::deltas::v9_to_v10
