#pragma once
// The physical runs (attempts) of logical function runs: table
// "physical_function_runs", versioned by "valid_from" / "valid_to" per logical
// run, its indexes, the view with display names, and the close, open-after-end
// and status transitions triggers.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::physical_function_runs {

enum class PhysicalFunctionRuns {
  Table,
  Id,
  ProjectId,
  CollectionId,
  FunctionVersionId,
  FunctionVersionPatchId,
  ExecutionId,
  TransactionId,
  ValidFrom,
  TriggeredById,
  Trigger,
  BasePath,
  DispatchedOn,
  StartedOn,
  EndedOn,
  FunctionId,
  Status,
  LogicalFunctionRunId,
  ValidTo,
};

std::string_view to_string(PhysicalFunctionRuns iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::current::physical_function_runs
