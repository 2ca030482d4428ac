#pragma once
// The version-4 function patches table, frozen: plain text ids, versions
// starting at "defined_on", no view; the close trigger and the insert-only
// guard.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::function_patches {

enum class FunctionPatches {
  Table,
  Id,
  ProjectId,
  ParentFunctionVersionId,
  FunctionId,
  CollectionId,
  Snippet,
  BundleId,
  RuntimeValues,
  Description,
  DefinedOn,
  DefinedById,
  Status,
  ValidTo,
};

std::string_view to_string(FunctionPatches iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::archive::v4::function_patches
