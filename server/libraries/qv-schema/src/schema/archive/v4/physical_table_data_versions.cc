#include "schema/archive/v4/physical_table_data_versions.h"

#include <array>
#include <cstddef>

#include "schema/archive/v4/physical_function_runs.h"
#include "schema/render.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::archive::v4::physical_table_data_versions {
namespace {

using T = PhysicalTableDataVersions;
using physical_function_runs::PhysicalFunctionRuns;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 25> kNames = {
    "physical_table_data_versions",
    "id",
    "project_id",
    "collection_id",
    "table_id",
    "name",
    "table_version_id",
    "function_version_id",
    "function_version_patch_id",
    "has_data",
    "schema_changed",
    "column_count",
    "row_count",
    "data_bytes",
    "schema_hash",
    "columnar_lineage",
    "execution_id",
    "transaction_id",
    "physical_function_run_id",
    "function_param_pos",
    "with_data_table_data_version_id",
    "triggered_on",
    "base_path",
    "logical_table_data_version_id",
    "valid_to",
};

constexpr std::string_view kWithFunction = "physical_table_data_versions__with_function";

sql::view::ViewDef with_function() {
  using P = PhysicalFunctionRuns;
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .expr_as(col(P::Table, P::TriggeredById), P::TriggeredById)
      .expr_as(col(P::Table, P::StartedOn), P::StartedOn)
      .expr_as(col(P::Table, P::EndedOn), P::EndedOn)
      .expr_as(col(P::Table, P::Status), P::Status)
      .expr_as(col("functions", "storage_version"), "storage_version")
      .from(T::Table)
      .join(JoinType::Left, "functions", col(T::Table, T::FunctionVersionId).eq(col("functions", "id")))
      .join(JoinType::Left, P::Table, col(T::Table, T::PhysicalFunctionRunId).eq(col(P::Table, P::Id)));
  return {kWithFunction, query};
}

sql::view::ViewDef with_names() {
  const sqlbuilder::Iden base = kWithFunction;
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(base))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("functions", "name"), "function")
      .expr_as(render::name_or_id("users", "name", base, PhysicalFunctionRuns::TriggeredById), "created_by")
      .from(base)
      .join(JoinType::Left, "collections_resolved", col(base, T::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, "functions", col(base, T::FunctionVersionId).eq(col("functions", "id")))
      .join(JoinType::Left, "users", col(base, PhysicalFunctionRuns::TriggeredById).eq(col("users", "id")));
  return {"physical_table_data_versions__with_names", query};
}

}  // namespace

std::string_view to_string(PhysicalTableDataVersions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(T::Table)
      .col(ColumnDef(T::Id).text().not_null().primary_key())
      .col(ColumnDef(T::ProjectId).text().not_null())
      .col(ColumnDef(T::CollectionId).text().not_null())
      .col(ColumnDef(T::TableId).text().not_null())
      .col(ColumnDef(T::Name).text().not_null())
      .col(ColumnDef(T::TableVersionId).text().not_null())
      .col(ColumnDef(T::FunctionVersionId).text().not_null())
      .col(ColumnDef(T::FunctionVersionPatchId).text().null())
      .col(ColumnDef(T::HasData).boolean().null())
      .col(ColumnDef(T::SchemaChanged).boolean().null())
      .col(ColumnDef(T::ColumnCount).big_integer().null())
      .col(ColumnDef(T::RowCount).big_integer().null())
      .col(ColumnDef(T::DataBytes).big_integer().null())
      .col(ColumnDef(T::SchemaHash).text().null())
      .col(ColumnDef(T::ColumnarLineage).text().null())
      .col(ColumnDef(T::ExecutionId).text().not_null())
      .col(ColumnDef(T::TransactionId).text().not_null())
      .col(ColumnDef(T::PhysicalFunctionRunId).text().not_null())
      .col(ColumnDef(T::FunctionParamPos).integer().not_null())
      .col(ColumnDef(T::WithDataTableDataVersionId).text().null())
      .col(ColumnDef(T::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(T::BasePath).text().not_null())
      .col(ColumnDef(T::LogicalTableDataVersionId).text().not_null())
      .col(ColumnDef(T::ValidTo).timestamp_with_time_zone().not_null())
      .foreign_key({T::LogicalTableDataVersionId}, "logical_table_data_versions", {"id"})
      .foreign_key({T::CollectionId}, "collections", {"id"})
      .foreign_key({T::FunctionVersionId}, "functions", {"id"})
      .foreign_key({T::FunctionVersionPatchId}, "function_patches", {"id"})
      .foreign_key({T::ExecutionId}, "executions", {"id"})
      .foreign_key({T::PhysicalFunctionRunId}, PhysicalFunctionRuns::Table, {PhysicalFunctionRuns::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(T::Table); };
  return {
      index("ptdv___physical_function_run_id__table_id___uidx").col(T::PhysicalFunctionRunId).col(T::TableId).unique(),
      index("ptdv___logical_table_data_version_id___current_uidx")
          .col(T::LogicalTableDataVersionId)
          .unique()
          .and_where(sql::scd2::open_interval()),
      index("ptdv___project_id__id___idx").col(T::ProjectId).col(T::Id),
      index("ptdv___logical_table_data_version_id__triggered_on__id___idx")
          .col(T::LogicalTableDataVersionId)
          .col(T::TriggeredOn)
          .col(T::Id),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const { return {with_function(), with_names()}; }

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close = {sql::trigger::close_trigger_name(to_string(T::Table)),
                                              T::Table,
                                              T::LogicalTableDataVersionId,
                                              T::TriggeredOn,
                                              T::ValidTo,
                                              T::Id};
  return {close.derived()};
}

}  // namespace schema::archive::v4::physical_table_data_versions
