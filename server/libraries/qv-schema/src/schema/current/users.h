#pragma once
// The user accounts: table "users", its view with the creating and modifying
// users' names, and the built-in system user and administrator.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::users {

enum class Users {
  Table,
  Id,
  Name,
  FullName,
  Email,
  CreatedOn,
  CreatedById,
  ModifiedOn,
  ModifiedById,
  PasswordHash,
  PasswordSetOn,
  PasswordMustChange,
  Enabled,
  System,
};

std::string_view to_string(Users iden);

// The fixed ids of the built-in users.
inline constexpr std::string_view kSystemUserId = "00000000000000000000000000";
inline constexpr std::string_view kAdminUserId = "00000000000000000000000004";

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<sqlbuilder::Insert> seeds() const override;
};

}  // namespace schema::current::users
