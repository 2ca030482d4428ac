#pragma once
// The versions of the platform's functions: table "functions" (one row per
// version, the open one with "valid_to" = infinity), its indexes, the view
// with display names and the trigger that closes the previous version.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::functions {

enum class Functions {
  Table,
  Id,
  ProjectId,
  CollectionId,
  Name,
  Description,
  Decorator,
  RuntimeValues,
  FunctionId,
  BasePath,
  StageId,
  StageBasePath,
  StorageVersion,
  BundleId,
  Snippet,
  ValidFrom,
  DefinedById,
  Status,
  Connector,
  Connection,
  Enabled,
  ValidTo,
  FunctionType,
  ParentFunctionId,
};

std::string_view to_string(Functions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::current::functions
