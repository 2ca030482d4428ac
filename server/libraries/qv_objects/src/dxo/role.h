#pragma once

// Data-access records of roles.

#include <string_view>

namespace dxo::role {

struct RoleDBIden {
  static constexpr std::string_view Table = "roles";
  static constexpr std::string_view kColumns[] = {
      "id",          "name",           "description", "created_on", "created_by_id",
      "modified_on", "modified_by_id", "kind",        "project_id", "fixed"};
};

struct RoleDB {
  using Iden = RoleDBIden;
  static constexpr std::string_view kDisplayName = "Role";
};

struct RoleDBWithNamesIden {
  static constexpr std::string_view Table = "roles__with_names";
  using Base = RoleDBIden;
  static constexpr std::string_view kColumns[] = {"created_by", "modified_by"};
};

struct RoleDBWithNames {
  using Iden = RoleDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Role";
};

}  // namespace dxo::role
