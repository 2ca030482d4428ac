#pragma once
// The inputs of logical function runs: table "logical_function_run_inputs",
// one row per input requirement of a run with the logical table data version
// that satisfied it, and its indexes.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::logical_function_run_inputs {

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
  RequirementTableVersionId,
};

std::string_view to_string(LogicalFunctionRunInputs iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
};

}  // namespace schema::current::logical_function_run_inputs
