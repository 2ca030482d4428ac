#include "schema/archive/v4/workers.h"

#include <array>
#include <cstddef>

#include "schema/archive/v4/logical_function_runs.h"
#include "schema/archive/v4/physical_function_runs.h"

namespace schema::archive::v4::workers {
namespace {

using W = Workers;
using logical_function_runs::LogicalFunctionRuns;
using physical_function_runs::PhysicalFunctionRuns;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 15> kNames = {
    "workers",
    "id",
    "project_id",
    "collection_id",
    "execution_id",
    "transaction_id",
    "function_version_id",
    "physical_function_run_id",
    "message_status",
    "started_on",
    "ended_on",
    "status",
    "worker_type",
    "worker_enabled",
    "worker_config",
};

}  // namespace

std::string_view to_string(Workers iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(W::Table)
      .col(ColumnDef(W::Id).text().not_null().primary_key())
      .col(ColumnDef(W::ProjectId).text().not_null())
      .col(ColumnDef(W::CollectionId).text().not_null())
      .col(ColumnDef(W::ExecutionId).text().null())
      .col(ColumnDef(W::TransactionId).text().null())
      .col(ColumnDef(W::FunctionVersionId).text().not_null())
      .col(ColumnDef(W::PhysicalFunctionRunId).text().null())
      .col(ColumnDef(W::MessageStatus).text().not_null())
      .col(ColumnDef(W::StartedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(W::EndedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(W::Status).text().not_null())
      .col(ColumnDef(W::WorkerType).text().not_null())
      .col(ColumnDef(W::WorkerEnabled).boolean().not_null())
      .col(ColumnDef(W::WorkerConfig).text().null())
      .foreign_key({W::CollectionId}, "collections", {"id"})
      .foreign_key({W::ExecutionId}, "executions", {"id"})
      .foreign_key({W::TransactionId}, "transactions", {"id"})
      .foreign_key({W::FunctionVersionId}, "functions", {"id"})
      .foreign_key({W::PhysicalFunctionRunId}, PhysicalFunctionRuns::Table, {PhysicalFunctionRuns::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(W::Table); };
  return {
      index("workers___collection_id___idx").col(W::CollectionId),
      index("workers___function_version_id__worker_type___idx").col(W::FunctionVersionId).col(W::WorkerType),
      index("workers___enabled__worker_type__status__project_id__id___idx")
          .col(W::WorkerEnabled)
          .col(W::WorkerType)
          .col(W::Status)
          .col(W::ProjectId)
          .col(W::Id),
      index("workers___project_id__id___idx").col(W::ProjectId).col(W::Id),
      index("workers___physical_function_run_id___idx").col(W::PhysicalFunctionRunId),
  };
}

// Enabled workers only; no "function_id" column yet.
std::vector<sql::view::ViewDef> Defs::create_views() const {
  using L = LogicalFunctionRuns;
  using P = PhysicalFunctionRuns;
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(W::Table))
      .expr_as(col(L::Table, L::Id), "logical_function_run_id")
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("collections_resolved", "connection_id"), "connection_id")
      .expr_as(col("connections", "kind"), "connection")
      .expr_as(col("executions", "name"), "execution")
      .expr_as(col("functions", "name"), "function")
      .expr_as(col("functions", "enabled"), "enabled")
      .expr_as(col("projects_resolved", "name"), "project")
      .expr_as(col(P::Table, P::FunctionVersionPatchId), "function_version_patch_id")
      .from(W::Table)
      .join(JoinType::Left, "collections_resolved",
            col(W::Table, W::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, "connections", col("collections_resolved", "connection_id").eq(col("connections", "id")))
      .join(JoinType::Left, "executions", col(W::Table, W::ExecutionId).eq(col("executions", "id")))
      .join(JoinType::Left, "functions", col(W::Table, W::FunctionVersionId).eq(col("functions", "id")))
      .join(JoinType::Left, L::Table,
            col(W::Table, W::ExecutionId)
                .eq(col(L::Table, L::ExecutionId))
                .and_(col("functions", "function_id").eq(col(L::Table, L::FunctionId))))
      .join(JoinType::Left, P::Table, col(W::Table, W::PhysicalFunctionRunId).eq(col(P::Table, P::Id)))
      .join(JoinType::Left, "projects_resolved", col(W::Table, W::ProjectId).eq(col("projects_resolved", "id")))
      .and_where(col(W::Table, W::WorkerEnabled).eq(sqlbuilder::val(true)));
  return {{"workers__with_names", query}};
}

}  // namespace schema::archive::v4::workers
