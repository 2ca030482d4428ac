#pragma once
// The service tokens of users, stored as digests, at most one per user and
// slot: table "service_tokens", its unique index and the view with the owning
// user's name and enabled flag.

#include <string_view>

#include "schema/entity.h"

namespace schema::current::service_tokens {

enum class ServiceTokens {
  Table,
  Id,
  UserId,
  Slot,
  Digest,
  Hint,
  Comment,
  CreatedOn,
  ExpiresOn,
  LastUsedOn,
  Scope,
  System,
};

std::string_view to_string(ServiceTokens iden);

class Defs final : public entity::Entity {
 public:
  std::vector<sqlbuilder::TableCreate> create_tables() const override;
  std::vector<sqlbuilder::IndexCreate> create_indices() const override;
  std::vector<sql::view::ViewDef> create_views() const override;
};

}  // namespace schema::current::service_tokens
