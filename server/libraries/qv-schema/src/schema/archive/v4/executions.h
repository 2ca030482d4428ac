#pragma once
// The version-4 executions table, frozen: plain text ids and no status or
// time span of its own (the status views derived them).

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::executions {

enum class Executions {
  Table,
  Id,
  ProjectId,
  Name,
  CollectionId,
  FunctionVersionId,
  TriggeredOn,
  TriggeredById,
  RecursionOptions,
  FunctionId,
  TriggerType,
  ExternalUid,
};

std::string_view to_string(Executions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::archive::v4::executions
