#pragma once
// The login sessions, one row per pair of access and refresh tokens: table
// "sessions", its indexes and the view with the user's name.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::sessions {

enum class Sessions {
  Table,
  AccessTokenId,
  RefreshTokenId,
  UserId,
  CreatedOn,
  ExpiresOn,
  StatusChangeOn,
  Status,
};

std::string_view to_string(Sessions iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::current::sessions
