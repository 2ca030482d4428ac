#pragma once

// Data-access records of permissions.

#include <string_view>

namespace dxo::permission {

struct PermissionDBIden {
  static constexpr std::string_view Table = "permissions";
  static constexpr std::string_view kColumns[] = {"id",        "role_id",       "permission_type", "entity_type",
                                                  "entity_id", "granted_by_id", "granted_on",      "fixed"};
};

struct PermissionDB {
  using Iden = PermissionDBIden;
  static constexpr std::string_view kDisplayName = "Permission";
};

struct PermissionDBWithNamesIden {
  static constexpr std::string_view Table = "permissions__with_names";
  static constexpr std::string_view kColumns[] = {"id",         "role_id",       "permission_type", "entity_type",
                                                  "entity_id",  "granted_by_id", "granted_on",      "fixed",
                                                  "granted_by", "role",          "entity"};
};

struct PermissionDBWithNames {
  using Iden = PermissionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Permission";
};

}  // namespace dxo::permission
