#pragma once
// The version-4 physical function runs, frozen: plain text ids, versions
// starting at "triggered_on", the metric bucket columns of finished runs, and
// only the close trigger.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::physical_function_runs {

enum class PhysicalFunctionRuns {
  Table,
  Id,
  ProjectId,
  CollectionId,
  FunctionVersionId,
  FunctionVersionPatchId,
  ExecutionId,
  TransactionId,
  TriggeredOn,
  TriggeredById,
  Trigger,
  BasePath,
  DispatchedOn,
  StartedOn,
  EndedOn,
  FunctionId,
  Status,
  EndedOnHourMs,
  EndedOnDayMs,
  EndedOnWeekMs,
  EndedOnMonthMs,
  MetricTableVersions,
  MetricRows,
  MetricDataBytes,
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

}  // namespace schema::archive::v4::physical_function_runs
