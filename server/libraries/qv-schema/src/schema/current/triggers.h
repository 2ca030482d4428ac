#pragma once
// The versions of function triggers: table "triggers" (one row per version
// of "a table of a function triggers a function"), its indexes, the view
// with collection names, the view without system rows, and the close trigger.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::triggers {

enum class Triggers {
  Table,
  Id,
  ProjectId,
  CollectionId,
  TriggerId,
  FunctionId,
  TriggerByCollectionId,
  TriggerByFunctionId,
  TriggerByTableId,
  Status,
  ValidFrom,
  DefinedById,
  System,
  ValidTo,
};

std::string_view to_string(Triggers iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::current::triggers
