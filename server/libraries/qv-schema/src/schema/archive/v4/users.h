#pragma once
// The version-4 user accounts: table "users" with plain text ids, its view
// with the creating and modifying users' names, and the built-in system user
// and administrator.

#include <string_view>

#include "schema/current/users.h"
#include "schema/entity.h"

namespace schema::archive::v4::users {

// Version 4 names the table and its columns with the same texts.
using Users = current::users::Users;

inline constexpr std::string_view kSystemUserId = "00000000000000000000000000";
inline constexpr std::string_view kAdminUserId = "00000000000000000000000004";

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
  std::vector<sqlbuilder::Insert> seeds() const override;
};

}  // namespace schema::archive::v4::users
