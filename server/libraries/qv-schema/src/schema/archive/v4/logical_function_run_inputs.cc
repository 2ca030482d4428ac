#include "schema/archive/v4/logical_function_run_inputs.h"

#include <array>
#include <cstddef>

namespace schema::archive::v4::logical_function_run_inputs {
namespace {

using I = LogicalFunctionRunInputs;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;

constexpr std::array<std::string_view, 11> kNames = {
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
};

}  // namespace

std::string_view to_string(LogicalFunctionRunInputs iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(I::Table)
      .col(ColumnDef(I::Id).text().not_null().primary_key())
      .col(ColumnDef(I::ProjectId).text().not_null())
      .col(ColumnDef(I::CollectionId).text().not_null())
      .col(ColumnDef(I::ExecutionId).text().not_null())
      .col(ColumnDef(I::TransactionId).text().not_null())
      .col(ColumnDef(I::LogicalFunctionRunId).text().not_null())
      .col(ColumnDef(I::RequirementLogicalTableDataVersionId).text().null())
      .col(ColumnDef(I::RequirementInputIdx).integer().null())
      .col(ColumnDef(I::RequirementDependencyPos).integer().null())
      .col(ColumnDef(I::RequirementVersionPos).integer().not_null())
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

}  // namespace schema::archive::v4::logical_function_run_inputs
