#include "schema/archive/v4/physical_function_runs.h"

#include <array>
#include <cstddef>
#include <string>

#include "schema/render.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::archive::v4::physical_function_runs {
namespace {

using P = PhysicalFunctionRuns;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 26> kNames = {
    "physical_function_runs",
    "id",
    "project_id",
    "collection_id",
    "function_version_id",
    "function_version_patch_id",
    "execution_id",
    "transaction_id",
    "triggered_on",
    "triggered_by_id",
    "trigger",
    "base_path",
    "dispatched_on",
    "started_on",
    "ended_on",
    "function_id",
    "status",
    "ended_on_hour_ms",
    "ended_on_day_ms",
    "ended_on_week_ms",
    "ended_on_month_ms",
    "metric_table_versions",
    "metric_rows",
    "metric_data_bytes",
    "logical_function_run_id",
    "valid_to",
};

ColumnDef metric(P column) {
  ColumnDef def(column);
  def.big_integer().null();
  return def;
}

}  // namespace

std::string_view to_string(PhysicalFunctionRuns iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(P::Table)
      .col(ColumnDef(P::Id).text().not_null().primary_key())
      .col(ColumnDef(P::ProjectId).text().not_null())
      .col(ColumnDef(P::CollectionId).text().not_null())
      .col(ColumnDef(P::FunctionVersionId).text().not_null())
      .col(ColumnDef(P::FunctionVersionPatchId).text().null())
      .col(ColumnDef(P::ExecutionId).text().not_null())
      .col(ColumnDef(P::TransactionId).text().not_null())
      .col(ColumnDef(P::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(P::TriggeredById).text().not_null())
      .col(ColumnDef(P::Trigger).text().not_null())
      .col(ColumnDef(P::DispatchedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(P::StartedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(P::EndedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(P::FunctionId).text().not_null().default_value(sqlbuilder::val(std::string())))
      .col(ColumnDef(P::Status).text().not_null())
      .col(metric(P::EndedOnHourMs))
      .col(metric(P::EndedOnDayMs))
      .col(metric(P::EndedOnWeekMs))
      .col(metric(P::EndedOnMonthMs))
      .col(metric(P::MetricTableVersions))
      .col(metric(P::MetricRows))
      .col(metric(P::MetricDataBytes))
      .col(ColumnDef(P::BasePath).text().not_null())
      .col(ColumnDef(P::LogicalFunctionRunId).text().not_null())
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
      index("pfr___status__project_id__triggered_on___idx").col(P::Status).col(P::ProjectId).col(P::TriggeredOn),
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
      index("pfr___project_id__ended_on___current_idx")
          .col(P::ProjectId)
          .col(P::EndedOn)
          .and_where(sql::scd2::open_interval()),
      index("pfr___project_id__id___idx").col(P::ProjectId).col(P::Id),
      index("pfr___logical_function_run_id___current_uidx")
          .col(P::LogicalFunctionRunId)
          .unique()
          .and_where(sql::scd2::open_interval()),
      index("pfr___logical_function_run_id__triggered_on__id___idx")
          .col(P::LogicalFunctionRunId)
          .col(P::TriggeredOn)
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
      .expr_as(render::name_or_id("users", "name", P::Table, P::TriggeredById), "triggered_by")
      .from(P::Table)
      .join(JoinType::Left, "collections_resolved",
            col(P::Table, P::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, "connections", col("collections_resolved", "connection_id").eq(col("connections", "id")))
      .join(JoinType::Left, "projects_resolved", col(P::Table, P::ProjectId).eq(col("projects_resolved", "id")))
      .join(JoinType::Left, "functions", col(P::Table, P::FunctionVersionId).eq(col("functions", "id")))
      .join(JoinType::Left, "executions", col(P::Table, P::ExecutionId).eq(col("executions", "id")))
      .join(JoinType::Left, "users", col(P::Table, P::TriggeredById).eq(col("users", "id")));
  return {{"physical_function_runs__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close = {sql::trigger::close_trigger_name(to_string(P::Table)),
                                              P::Table,
                                              P::LogicalFunctionRunId,
                                              P::TriggeredOn,
                                              P::ValidTo,
                                              P::Id};
  return {close.derived()};
}

}  // namespace schema::archive::v4::physical_function_runs
