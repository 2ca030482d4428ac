#pragma once
// The version-4 roles: table "roles" with plain text ids and a unique name,
// its index, the view with the creating and modifying users' names, and the
// built-in roles.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::roles {

enum class Roles {
  Table,
  Id,
  Name,
  Description,
  CreatedOn,
  CreatedById,
  ModifiedOn,
  ModifiedById,
  Kind,
  ProjectId,
  Fixed,
};

std::string_view to_string(Roles iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<sqlbuilder::Insert> seeds() const override;
};

}  // namespace schema::archive::v4::roles
