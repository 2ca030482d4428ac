#pragma once
// Patches of function versions: table "function_patches" (one row per version
// of the patch of one function version), its indexes, the view with the
// author's name, the close trigger and the insert-only guard.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::function_patches {

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
  ValidFrom,
  DefinedById,
  Status,
  ValidTo,
};

std::string_view to_string(FunctionPatches iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<source::Derived> create_db_triggers() const override;
};

}  // namespace schema::current::function_patches
