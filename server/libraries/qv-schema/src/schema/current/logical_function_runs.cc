#include "schema/current/logical_function_runs.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "schema/current/physical_function_runs.h"
#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"
#include "schema/sql/trigger.h"

namespace schema::current::logical_function_runs {
namespace {

using L = LogicalFunctionRuns;
using physical_function_runs::PhysicalFunctionRuns;
using sql::id_column;
using sql::logical_id_column;
using sql::trigger::Transition;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using users::Users;

constexpr std::array<std::string_view, 14> kNames = {
    "logical_function_runs",
    "id",
    "project_id",
    "collection_id",
    "execution_id",
    "transaction_id",
    "function_id",
    "function_version_id",
    "trigger",
    "triggered_on",
    "triggered_by_id",
    "status",
    "group_id",
    "recoveries",
};

// Stands in for the function version of runs that have none.
constexpr std::int64_t kNoFunctionVersion = 197001010000000001;

struct Moves {
  std::string_view from;
  std::vector<std::string_view> to;
};

// The allowed status changes, in the order of the trigger's VALUES list.
// "X" and "Y" are final; "C" may only move on to "Y".
std::vector<Transition> allowed_transitions() {
  const std::vector<Moves> moves = {
      {"S", {"RR", "H", "RS", "X"}},
      {"RR", {"S", "R", "E", "F", "H", "RS", "X"}},
      {"RS", {"RR", "H", "X"}},
      {"R", {"D", "E", "F", "H", "RS", "X"}},
      {"D", {"C", "H", "RS", "X"}},
      {"C", {"Y"}},
      {"E", {"H", "RS", "X"}},
      {"F", {"D", "H", "RS", "X"}},
      {"H", {"RS", "X"}},
  };
  std::vector<Transition> transitions;
  for (const Moves& from : moves) {
    for (std::string_view to : from.to) transitions.push_back({from.from, to});
  }
  return transitions;
}

}  // namespace

std::string_view to_string(LogicalFunctionRuns iden) { return kNames.at(static_cast<std::size_t>(iden)); }

IndexCreate time_ordered(std::string_view name, std::optional<LogicalFunctionRuns> leading) {
  IndexCreate index;
  index.name(name).table(L::Table);
  if (leading) index.col(*leading);
  index.col(L::TriggeredOn).col(L::Id);
  return index;
}

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(L::Table)
      .col(logical_id_column(L::Id).not_null().primary_key())
      .col(id_column(L::ProjectId).not_null())
      .col(id_column(L::CollectionId).not_null())
      .col(logical_id_column(L::ExecutionId).not_null())
      .col(logical_id_column(L::TransactionId).not_null())
      .col(id_column(L::FunctionId).not_null())
      .col(logical_id_column(L::FunctionVersionId).not_null().default_value(sqlbuilder::val(kNoFunctionVersion)))
      .col(ColumnDef(L::Trigger).text().not_null())
      .col(ColumnDef(L::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(id_column(L::TriggeredById).not_null())
      .col(ColumnDef(L::Status).text().not_null())
      .col(id_column(L::GroupId).not_null())
      .col(ColumnDef(L::Recoveries).integer().not_null().default_value(sqlbuilder::val(0)))
      .foreign_key({L::CollectionId}, "collections", {"id"})
      .foreign_key({L::GroupId}, "groups", {"id"})
      .foreign_key({L::ExecutionId}, "executions", {"id"})
      .foreign_key({L::TransactionId}, "transactions", {"id"});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(L::Table); };
  return {
      index("logical_function_runs___group_id__project_id___idx").col(L::GroupId).col(L::ProjectId),
      index("logical_function_runs___status__project_id__triggered_on___idx")
          .col(L::Status)
          .col(L::ProjectId)
          .col(L::TriggeredOn),
      index("logical_function_runs___project_id__id___idx").col(L::ProjectId).col(L::Id),
      index("logical_function_runs___function_version_id___idx").col(L::FunctionVersionId),
      // One logical run of a function per execution.
      index("logical_function_runs___execution_id__function_id___idx")
          .col(L::ExecutionId)
          .col(L::FunctionId)
          .unique(),
      index("logical_function_runs___function_id__triggered_on__id___idx")
          .col(L::FunctionId)
          .col(L::TriggeredOn)
          .col(L::Id),
      index("logical_function_runs___execution_id__status___idx").col(L::ExecutionId).col(L::Status),
      index("logical_function_runs___transaction_id__status___idx").col(L::TransactionId).col(L::Status),
      time_ordered("logical_function_runs___triggered_on__id___idx", std::nullopt),
      time_ordered("logical_function_runs___project_id__triggered_on__id___idx", L::ProjectId),
      time_ordered("logical_function_runs___collection_id__triggered_on__id___idx", L::CollectionId),
      time_ordered("logical_function_runs___execution_id__triggered_on__id___idx", L::ExecutionId),
      time_ordered("logical_function_runs___transaction_id__triggered_on__id___idx", L::TransactionId),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  using P = PhysicalFunctionRuns;
  const sqlbuilder::Iden groups = "groups_for_lfr";
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(L::Table))
      .expr_as(col("functions", "name"), "name")
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("executions", "name"), "execution")
      .expr_as(render::name_or_id(Users::Table, Users::Name, L::Table, L::TriggeredById), "triggered_by")
      .expr_as(col(groups, "name"), "group")
      .expr_as(col("projects_resolved", "name"), "project")
      .expr_as(col(P::Table, P::Id), "physical_function_run_id")
      .expr_as(col(P::Table, P::StartedOn), "started_on")
      .expr_as(col(P::Table, P::EndedOn), "ended_on")
      .expr_as(col(P::Table, P::Status), "physical_status")
      .expr_as(col(P::Table, P::FunctionVersionPatchId), "function_version_patch_id")
      .from(L::Table)
      .join(JoinType::Left, "collections_resolved",
            col(L::Table, L::CollectionId).eq(col("collections_resolved", "id")))
      .join_as(JoinType::Left, "groups", groups, col(L::Table, L::GroupId).eq(col(groups, "id")))
      .join(JoinType::Left, "projects_resolved", col(L::Table, L::ProjectId).eq(col("projects_resolved", "id")))
      .join(JoinType::Left, "functions", col(L::Table, L::FunctionVersionId).eq(col("functions", "id")))
      .join(JoinType::Left, "executions", col(L::Table, L::ExecutionId).eq(col("executions", "id")))
      .join(JoinType::Left, Users::Table, col(L::Table, L::TriggeredById).eq(col(Users::Table, Users::Id)))
      // The live attempt only.
      .join(JoinType::Left, P::Table,
            col(P::Table, P::LogicalFunctionRunId)
                .eq(col(L::Table, L::Id))
                .and_(col(P::Table, P::ValidTo).eq(sqlbuilder::custom("'infinity'::timestamptz"))));
  return {{"function_runs__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::TransitionsTriggerDef transitions = {sql::trigger::transitions_trigger_name(to_string(L::Table)),
                                                           L::Table, L::Status, allowed_transitions()};
  return {transitions.derived()};
}

}  // namespace schema::current::logical_function_runs
