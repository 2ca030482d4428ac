#pragma once
// The version-4 workers, frozen: plain text ids, a message status, no failure
// count or retry instants, fewer indexes, and no transitions trigger.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::workers {

enum class Workers {
  Table,
  Id,
  ProjectId,
  CollectionId,
  ExecutionId,
  TransactionId,
  FunctionVersionId,
  PhysicalFunctionRunId,
  MessageStatus,
  StartedOn,
  EndedOn,
  Status,
  WorkerType,
  WorkerEnabled,
  WorkerConfig,
};

std::string_view to_string(Workers iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::archive::v4::workers
