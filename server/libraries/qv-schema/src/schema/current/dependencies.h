#pragma once
// The versions of functions' dependencies on tables: table "dependencies"
// (one row per version), its indexes, the view with collection names and
// the close trigger.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::dependencies {

enum class Dependencies {
  Table,
  Id,
  ProjectId,
  CollectionId,
  DependencyId,
  FunctionId,
  TableCollectionId,
  TableFunctionId,
  TableId,
  TableVersions,
  DepPos,
  ValidFrom,
  DefinedById,
  System,
  ValidTo,
};

std::string_view to_string(Dependencies iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::current::dependencies
