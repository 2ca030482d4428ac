#include "schema/current/physical_function_runs.h"

#include <array>
#include <cstddef>
#include <string>

#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"
#include "sqlbuilder/template.h"

namespace schema::current::physical_function_runs {
namespace {

using P = PhysicalFunctionRuns;
using sql::id_column;
using sql::logical_id_column;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using users::Users;

constexpr std::array<std::string_view, 19> kNames = {
    "physical_function_runs",
    "id",
    "project_id",
    "collection_id",
    "function_version_id",
    "function_version_patch_id",
    "execution_id",
    "transaction_id",
    "valid_from",
    "triggered_by_id",
    "trigger",
    "base_path",
    "dispatched_on",
    "started_on",
    "ended_on",
    "function_id",
    "status",
    "logical_function_run_id",
    "valid_to",
};

// The statuses of a run still in progress.
constexpr std::array<std::string_view, 3> kInProgress = {"RR", "DP", "R"};

constexpr std::string_view kOpenAfterEndFunction =
    "CREATE OR REPLACE FUNCTION {0}_fn() RETURNS TRIGGER AS $$\n"
    "BEGIN\n"
    "  PERFORM pg_advisory_xact_lock(hashtextextended('{1}:' || NEW.{2}, 0));\n"
    "  IF EXISTS (SELECT 1 FROM {1} WHERE {2} = NEW.{2} AND {3} = 'infinity' AND {4} IN ({5})) THEN\n"
    "    RAISE EXCEPTION '{1}: % still has an open version in progress', NEW.{2};\n"
    "  END IF;\n"
    "  RETURN NEW;\n"
    "END;\n"
    "$$ LANGUAGE plpgsql";

constexpr std::string_view kOpenAfterEndTrigger =
    "CREATE TRIGGER {0} BEFORE INSERT ON {1}\n"
    "FOR EACH ROW EXECUTE FUNCTION {0}_fn()";

// Refuses a new version of a logical run while its open version is still in
// progress. It takes the close trigger's advisory lock, so the check and the
// close of the previous version see the same rows.
source::Derived open_after_end() {
  const sqlbuilder::Iden table = P::Table;
  const std::string name = sqlbuilder::format_template("{}__open_after_end", {table.text()});
  std::string in_progress;
  for (std::string_view status : kInProgress) {
    if (!in_progress.empty()) in_progress += ", ";
    in_progress += sqlbuilder::format_template("'{}'", {std::string(status)});
  }
  return {{sqlbuilder::format_template(kOpenAfterEndFunction,
                                       {name, table.text(), std::string(to_string(P::LogicalFunctionRunId)),
                                        std::string(to_string(P::ValidTo)), std::string(to_string(P::Status)),
                                        in_progress}),
           sqlbuilder::format_template(kOpenAfterEndTrigger, {name, table.text()})},
          {sql::trigger::drop_trigger(name, table), sql::trigger::drop_trigger_function(name)}};
}

}  // namespace

std::string_view to_string(PhysicalFunctionRuns iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(P::Table)
      .col(logical_id_column(P::Id).not_null().primary_key())
      .col(id_column(P::ProjectId).not_null())
      .col(id_column(P::CollectionId).not_null())
      .col(logical_id_column(P::FunctionVersionId).not_null())
      .col(logical_id_column(P::FunctionVersionPatchId).null())
      .col(logical_id_column(P::ExecutionId).not_null())
      .col(logical_id_column(P::TransactionId).not_null())
      .col(ColumnDef(P::ValidFrom).timestamp_with_time_zone().not_null())
      .col(id_column(P::TriggeredById).not_null())
      .col(ColumnDef(P::Trigger).text().not_null())
      .col(ColumnDef(P::DispatchedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(P::StartedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(P::EndedOn).timestamp_with_time_zone().null())
      .col(id_column(P::FunctionId).not_null().default_value(sqlbuilder::val(std::string())))
      .col(ColumnDef(P::Status).text().not_null())
      .col(ColumnDef(P::BasePath).text().not_null())
      .col(logical_id_column(P::LogicalFunctionRunId).not_null())
      .col(ColumnDef(P::ValidTo).timestamp_with_time_zone().not_null())
      .foreign_key({P::LogicalFunctionRunId}, "logical_function_runs", {"id"})
      .foreign_key({P::CollectionId}, "collections", {"id"})
      .foreign_key({P::FunctionVersionId}, "functions", {"id"})
      .foreign_key({P::FunctionVersionPatchId}, "function_patches", {"id"})
      .foreign_key({P::ExecutionId}, "executions", {"id"});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(P::Table); };
  return {
      index("pfr___status__project_id__valid_from___idx").col(P::Status).col(P::ProjectId).col(P::ValidFrom),
      index("pfr___status__project_id__dispatched_on___idx").col(P::Status).col(P::ProjectId).col(P::DispatchedOn),
      index("pfr___project_id__execution_id__started_on__ended_on___idx")
          .col(P::ProjectId)
          .col(P::ExecutionId)
          .col(P::StartedOn)
          .col(P::EndedOn),
      index("pfr___project_id__transaction_id__started_on__ended_on___idx")
          .col(P::ProjectId)
          .col(P::TransactionId)
          .col(P::StartedOn)
          .col(P::EndedOn),
      index("pfr___function_version_patch_id___idx").col(P::FunctionVersionPatchId),
      index("pfr___function_version_id___idx").col(P::FunctionVersionId),
      index("pfr___project_id__id___idx").col(P::ProjectId).col(P::Id),
      // At most one open version per logical run.
      index("pfr___logical_function_run_id___current_uidx")
          .col(P::LogicalFunctionRunId)
          .unique()
          .and_where(sql::scd2::open_interval()),
      index("pfr___logical_function_run_id__valid_from__id___idx")
          .col(P::LogicalFunctionRunId)
          .col(P::ValidFrom)
          .col(P::Id),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(P::Table))
      .expr_as(col("functions", "name"), "name")
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("collections_resolved", "connection_id"), "connection_id")
      .expr_as(col("connections", "kind"), "connection")
      .expr_as(col("projects_resolved", "name"), "project")
      .expr_as(col("executions", "name"), "execution")
      .expr_as(col("executions", "function_version_id"), "execution_function_version_id")
      .expr_as(col("functions", "storage_version"), "storage_version")
      .expr_as(render::name_or_id(Users::Table, Users::Name, P::Table, P::TriggeredById), "triggered_by")
      .from(P::Table)
      .join(JoinType::Left, "collections_resolved",
            col(P::Table, P::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, "connections", col("collections_resolved", "connection_id").eq(col("connections", "id")))
      .join(JoinType::Left, "projects_resolved", col(P::Table, P::ProjectId).eq(col("projects_resolved", "id")))
      .join(JoinType::Left, "functions", col(P::Table, P::FunctionVersionId).eq(col("functions", "id")))
      .join(JoinType::Left, "executions", col(P::Table, P::ExecutionId).eq(col("executions", "id")))
      .join(JoinType::Left, Users::Table, col(P::Table, P::TriggeredById).eq(col(Users::Table, Users::Id)));
  return {{"physical_function_runs__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close = {sql::trigger::close_trigger_name(to_string(P::Table)),
                                              P::Table,
                                              P::LogicalFunctionRunId,
                                              P::ValidFrom,
                                              P::ValidTo,
                                              P::Id};
  const sql::trigger::TransitionsTriggerDef transitions = {
      sql::trigger::transitions_trigger_name(to_string(P::Table)),
      P::Table,
      P::Status,
      std::vector<sql::trigger::Transition>{
          {"RR", "DP"}, {"RR", "F"}, {"DP", "R"}, {"DP", "F"}, {"R", "D"}, {"R", "F"}}};
  return {close.derived(), open_after_end(), transitions.derived()};
}

}  // namespace schema::current::physical_function_runs
