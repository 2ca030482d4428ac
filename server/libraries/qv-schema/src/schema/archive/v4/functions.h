#pragma once
// The version-4 functions table, frozen: plain text ids, versions starting at
// "defined_on", no function type or parent function yet.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::functions {

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
  DefinedOn,
  DefinedById,
  Status,
  Connector,
  Connection,
  Enabled,
  ValidTo,
};

std::string_view to_string(Functions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::archive::v4::functions
