#pragma once
// The bindings of users to roles: table "users_roles", its indexes, the view
// with the user, role and adding user's names, and the administrator's
// built-in bindings.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::users_roles {

enum class UsersRoles {
  Table,
  Id,
  UserId,
  RoleId,
  AddedOn,
  AddedById,
  Fixed,
};

std::string_view to_string(UsersRoles iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<sqlbuilder::Insert> seeds() const override;
};

}  // namespace schema::current::users_roles
