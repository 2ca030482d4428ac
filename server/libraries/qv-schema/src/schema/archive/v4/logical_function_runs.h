#pragma once
// The version-4 logical function runs, frozen: plain text ids, group keys
// within their project, the view with the live attempt's metrics, the three
// run status summaries, and the trigger that keeps terminal statuses.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::logical_function_runs {

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
};

std::string_view to_string(LogicalFunctionRuns iden);

// "global_status_summary", "execution_status_summary" and
// "transaction_status_summary": per group of runs a summary status code, a
// finished flag and the number of runs per status code.
std::vector<sql::view::ViewDef> status_summary_views();

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::archive::v4::logical_function_runs
