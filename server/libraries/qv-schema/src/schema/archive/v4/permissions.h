#pragma once
// The version-4 permissions: table "permissions" with plain text ids, its
// unique index, the view with display names, and the built-in roles'
// permissions.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::permissions {

enum class Permissions {
  Table,
  Id,
  RoleId,
  PermissionType,
  EntityType,
  EntityId,
  GrantedById,
  GrantedOn,
  Fixed,
};

std::string_view to_string(Permissions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<sqlbuilder::Insert> seeds() const override;
};

}  // namespace schema::archive::v4::permissions
