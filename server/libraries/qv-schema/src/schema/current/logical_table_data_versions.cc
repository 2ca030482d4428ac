#include "schema/current/logical_table_data_versions.h"

#include <array>
#include <cstddef>
#include <string>

#include "schema/current/logical_function_runs.h"
#include "schema/current/physical_function_runs.h"
#include "schema/current/physical_table_data_versions.h"
#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"

namespace schema::current::logical_table_data_versions {
namespace {

using T = LogicalTableDataVersions;
using logical_function_runs::LogicalFunctionRuns;
using physical_function_runs::PhysicalFunctionRuns;
using physical_table_data_versions::PhysicalTableDataVersions;
using sql::id_column;
using sql::logical_id_column;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using users::Users;

constexpr std::array<std::string_view, 13> kNames = {
    "logical_table_data_versions",
    "id",
    "project_id",
    "collection_id",
    "execution_id",
    "transaction_id",
    "table_id",
    "producer_logical_function_run_id",
    "function_param_pos",
    "private",
    "triggered_on",
    "triggered_by_id",
    "group_id",
};

// The version with names, the live physical version and its run, the
// producing logical run's status, and the physical version's function and
// parent table.
sql::view::ViewDef with_names() {
  using L = LogicalFunctionRuns;
  using P = PhysicalFunctionRuns;
  using V = PhysicalTableDataVersions;
  const sqlbuilder::Iden groups = "groups_for_ltdv";
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("executions", "name"), "execution")
      .expr_as(render::name_or_id(Users::Table, Users::Name, T::Table, T::TriggeredById), "triggered_by")
      .expr_as(col(groups, "name"), "group")
      .expr_as(col(V::Table, V::Id), "physical_table_data_version_id");
  for (V column : {V::Name, V::TableVersionId, V::FunctionVersionId, V::FunctionVersionPatchId, V::HasData,
                   V::SchemaChanged, V::ColumnCount, V::RowCount, V::DataBytes, V::SchemaHash,
                   V::WithDataTableDataVersionId, V::PhysicalFunctionRunId}) {
    query.expr_as(col(V::Table, column), column);
  }
  query.expr_as(col(P::Table, P::StartedOn), "started_on")
      .expr_as(col(P::Table, P::EndedOn), "ended_on")
      .expr_as(col(L::Table, L::Status), "status")
      .expr_as(col(P::Table, P::Status), "physical_status")
      .expr_as(col("functions", "name"), "function")
      .expr_as(col("functions", "storage_version"), "storage_version")
      .expr_as(col("tables", "parent_table_id"), "parent_table_id")
      .from(T::Table)
      .join(JoinType::Left, "collections_resolved",
            col(T::Table, T::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, "executions", col(T::Table, T::ExecutionId).eq(col("executions", "id")))
      .join(JoinType::Left, Users::Table, col(T::Table, T::TriggeredById).eq(col(Users::Table, Users::Id)))
      .join(JoinType::Left, V::Table,
            col(V::Table, V::LogicalTableDataVersionId)
                .eq(col(T::Table, T::Id))
                .and_(col(V::Table, V::ValidTo).eq(sqlbuilder::custom("'infinity'::timestamptz"))))
      .join(JoinType::Left, P::Table, col(P::Table, P::Id).eq(col(V::Table, V::PhysicalFunctionRunId)))
      .join(JoinType::Left, L::Table, col(T::Table, T::ProducerLogicalFunctionRunId).eq(col(L::Table, L::Id)))
      .join(JoinType::Left, "functions", col(V::Table, V::FunctionVersionId).eq(col("functions", "id")))
      .join(JoinType::Left, "tables", col(V::Table, V::TableVersionId).eq(col("tables", "id")))
      .join_as(JoinType::Left, "groups", groups, col(T::Table, T::GroupId).eq(col(groups, "id")));
  return {"table_data_versions__with_names", query};
}

// Versions without a producing run, or whose run is neither "Y" nor "X".
sql::view::ViewDef active() {
  using L = LogicalFunctionRuns;
  const sqlbuilder::Expr run_status = col(L::Table, L::Status);
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .from(T::Table)
      .join(JoinType::Left, L::Table, col(T::Table, T::ProducerLogicalFunctionRunId).eq(col(L::Table, L::Id)))
      .and_where(run_status.is_null().or_(
          run_status.not_in({sqlbuilder::val(std::string("Y")), sqlbuilder::val(std::string("X"))})));
  return {"logical_table_data_versions__active", query};
}

}  // namespace

std::string_view to_string(LogicalTableDataVersions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

IndexCreate time_ordered(std::string_view name, LogicalTableDataVersions leading) {
  IndexCreate index;
  index.name(name).table(T::Table).col(leading).col(T::TriggeredOn).col(T::Id);
  return index;
}

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(T::Table)
      .col(logical_id_column(T::Id).not_null().primary_key())
      .col(id_column(T::ProjectId).not_null())
      .col(id_column(T::CollectionId).not_null())
      .col(logical_id_column(T::ExecutionId).not_null())
      .col(logical_id_column(T::TransactionId).not_null())
      .col(id_column(T::TableId).not_null())
      .col(logical_id_column(T::ProducerLogicalFunctionRunId).null())
      .col(ColumnDef(T::FunctionParamPos).integer().null())
      .col(ColumnDef(T::Private).boolean().not_null())
      .col(ColumnDef(T::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(id_column(T::TriggeredById).not_null())
      .col(id_column(T::GroupId).not_null())
      .foreign_key({T::CollectionId}, "collections", {"id"})
      .foreign_key({T::GroupId}, "groups", {"id"})
      .foreign_key({T::ExecutionId}, "executions", {"id"})
      .foreign_key({T::TransactionId}, "transactions", {"id"})
      .foreign_key({T::ProducerLogicalFunctionRunId}, LogicalFunctionRuns::Table, {LogicalFunctionRuns::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(T::Table); };
  return {
      index("logical_table_data_versions___group_id__project_id___idx").col(T::GroupId).col(T::ProjectId),
      index("logical_table_data_versions___table_id__triggered_on__id___idx")
          .col(T::TableId)
          .col(T::TriggeredOn)
          .col(T::Id),
      index("ltdv___producer_logical_function_run_id___idx").col(T::ProducerLogicalFunctionRunId),
      index("logical_table_data_versions___execution_id__table_id___idx").col(T::ExecutionId).col(T::TableId),
      index("logical_table_data_versions___project_id__id___idx").col(T::ProjectId).col(T::Id),
      time_ordered("ltdv___collection_id__triggered_on__id___idx", T::CollectionId),
      time_ordered("ltdv___execution_id__triggered_on__id___idx", T::ExecutionId),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const { return {with_names(), active()}; }

}  // namespace schema::current::logical_table_data_versions
