#pragma once

// Data-access records of the bindings of users to roles.

#include <string_view>

namespace dxo::user_role {

struct UserRoleDBIden {
  static constexpr std::string_view Table = "users_roles";
  static constexpr std::string_view kColumns[] = {"id", "user_id", "role_id", "added_on", "added_by_id", "fixed"};
};

struct UserRoleDB {
  using Iden = UserRoleDBIden;
  static constexpr std::string_view kDisplayName = "User Role";
};

struct UserRoleDBWithNamesIden {
  static constexpr std::string_view Table = "users_roles__with_names";
  using Base = UserRoleDBIden;
  static constexpr std::string_view kColumns[] = {"user", "role", "added_by"};
};

struct UserRoleDBWithNames {
  using Iden = UserRoleDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "User Role";
};

}  // namespace dxo::user_role
