#pragma once
// The workers that carry out function versions for executions: table
// "workers", its indexes, the view of the enabled workers with names, and the
// status transitions trigger whose allowed moves depend on the worker type.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::workers {

enum class Workers {
  Table,
  Id,
  ProjectId,
  CollectionId,
  ExecutionId,
  TransactionId,
  FunctionVersionId,
  PhysicalFunctionRunId,
  StartedOn,
  EndedOn,
  Status,
  WorkerType,
  WorkerEnabled,
  WorkerConfig,
  Failures,
  RetryAt,
  DestinationWriteOn,
};

std::string_view to_string(Workers iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::current::workers
