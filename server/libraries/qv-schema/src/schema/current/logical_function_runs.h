#pragma once
// The logical runs of functions: table "logical_function_runs" (one run of a
// function version in an execution and a transaction, with its status code),
// its indexes, the view with names and the live physical attempt, and the
// status transitions trigger.

#include <optional>
#include <string_view>

#include "schema/entity.h"

namespace schema::current::logical_function_runs {

enum class LogicalFunctionRuns {
  Table,
  Id,
  ProjectId,
  CollectionId,
  ExecutionId,
  TransactionId,
  FunctionId,
  FunctionVersionId,
  Trigger,
  TriggeredOn,
  TriggeredById,
  Status,
  GroupId,
  Recoveries,
};

std::string_view to_string(LogicalFunctionRuns iden);

// An index named `name` on (leading, "triggered_on", "id"), or on
// ("triggered_on", "id") without a leading column.
sqlbuilder::IndexCreate time_ordered(std::string_view name, std::optional<LogicalFunctionRuns> leading);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::current::logical_function_runs
