#pragma once
// The version-4 login sessions: table "sessions" with plain text ids, its
// indexes and the view with the user's name.

#include <string_view>

#include "schema/entity.h"

namespace schema::archive::v4::sessions {

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

}  // namespace schema::archive::v4::sessions
