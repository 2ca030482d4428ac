#pragma once
// The version-4 triggers table, frozen: plain text ids, versions starting at
// "defined_on".

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::triggers {

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
  DefinedOn,
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

}  // namespace schema::archive::v4::triggers
