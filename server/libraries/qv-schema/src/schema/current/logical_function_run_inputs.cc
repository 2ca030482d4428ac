#include "schema/current/logical_function_run_inputs.h"

#include <array>
#include <cstddef>

#include "schema/sql/column.h"

namespace schema::current::logical_function_run_inputs {
namespace {

using I = LogicalFunctionRunInputs;
using sql::id_column;
using sql::logical_id_column;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;

constexpr std::array<std::string_view, 12> kNames = {
    "logical_function_run_inputs",
    "id",
    "project_id",
    "collection_id",
    "execution_id",
    "transaction_id",
    "logical_function_run_id",
    "requirement_logical_table_data_version_id",
    "requirement_input_idx",
    "requirement_dependency_pos",
    "requirement_version_pos",
    "requirement_table_version_id",
};

}  // namespace

std::string_view to_string(LogicalFunctionRunInputs iden) { return kNames.at(static_cast<std::size_t>(iden)); }

// A requirement that no table data version satisfied keeps
// "requirement_logical_table_data_version_id" NULL.
std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(I::Table)
      .col(id_column(I::Id).not_null().primary_key())
      .col(id_column(I::ProjectId).not_null())
      .col(id_column(I::CollectionId).not_null())
      .col(logical_id_column(I::ExecutionId).not_null())
      .col(logical_id_column(I::TransactionId).not_null())
      .col(logical_id_column(I::LogicalFunctionRunId).not_null())
      .col(logical_id_column(I::RequirementLogicalTableDataVersionId).null())
      .col(ColumnDef(I::RequirementInputIdx).integer().null())
      .col(ColumnDef(I::RequirementDependencyPos).integer().null())
      .col(ColumnDef(I::RequirementVersionPos).integer().not_null())
      .col(id_column(I::RequirementTableVersionId).null())
      .foreign_key({I::CollectionId}, "collections", {"id"})
      .foreign_key({I::ExecutionId}, "executions", {"id"})
      .foreign_key({I::TransactionId}, "transactions", {"id"})
      .foreign_key({I::LogicalFunctionRunId}, "logical_function_runs", {"id"})
      .foreign_key({I::RequirementLogicalTableDataVersionId}, "logical_table_data_versions", {"id"});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(I::Table); };
  return {
      index("logical_function_run_inputs___logical_function_run_id___idx").col(I::LogicalFunctionRunId),
      index("logical_function_run_inputs___execution_id___idx").col(I::ExecutionId),
      index("lfri___requirement_logical_table_data_version_id___idx").col(I::RequirementLogicalTableDataVersionId),
  };
}

}  // namespace schema::current::logical_function_run_inputs
