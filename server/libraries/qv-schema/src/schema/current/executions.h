#pragma once
// The executions: table "executions" (one triggering of a function and what
// it runs, with its rolled-up status and time span), its indexes and the view
// with display names and run status counts.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::executions {

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
  Status,
  StartedOn,
  EndedOn,
};

std::string_view to_string(Executions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::current::executions
