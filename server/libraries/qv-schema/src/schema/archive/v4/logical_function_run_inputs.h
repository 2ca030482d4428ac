#pragma once
// The version-4 inputs of logical function runs, frozen: plain text ids and
// no "requirement_table_version_id" yet.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::logical_function_run_inputs {

enum class LogicalFunctionRunInputs {
  Table,
  Id,
  ProjectId,
  CollectionId,
  ExecutionId,
  TransactionId,
  LogicalFunctionRunId,
  RequirementLogicalTableDataVersionId,
  RequirementInputIdx,
  RequirementDependencyPos,
  RequirementVersionPos,
};

std::string_view to_string(LogicalFunctionRunInputs iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
};

}  // namespace schema::archive::v4::logical_function_run_inputs
