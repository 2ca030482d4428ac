#pragma once

// Data-access records of users.

#include <string_view>

namespace dxo::user {

struct UserDBIden {
  static constexpr std::string_view Table = "users";
  static constexpr std::string_view kColumns[] = {
      "id",          "name",           "full_name",     "email",           "created_on",           "created_by_id",
      "modified_on", "modified_by_id", "password_hash", "password_set_on", "password_must_change", "enabled",
      "system"};
};

struct UserDB {
  using Iden = UserDBIden;
  static constexpr std::string_view kDisplayName = "User";
};

struct UserDBWithNamesIden {
  static constexpr std::string_view Table = "users__with_names";
  using Base = UserDBIden;
  static constexpr std::string_view kColumns[] = {"created_by", "modified_by"};
};

struct UserDBWithNames {
  using Iden = UserDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "User";
};

}  // namespace dxo::user
