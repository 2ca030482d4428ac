#pragma once

// Data-access records of service tokens.

#include <string_view>

namespace dxo::service_token {

struct ServiceTokenDBIden {
  static constexpr std::string_view Table = "service_tokens";
  static constexpr std::string_view kColumns[] = {"id",           "user_id", "slot",       "digest",
                                                  "hint",         "comment", "created_on", "expires_on",
                                                  "last_used_on", "scope",   "system"};
};

struct ServiceTokenDB {
  using Iden = ServiceTokenDBIden;
  static constexpr std::string_view kDisplayName = "Service Token";
};

struct ServiceTokenDBWithNamesIden {
  static constexpr std::string_view Table = "service_tokens__with_names";
  using Base = ServiceTokenDBIden;
  static constexpr std::string_view kColumns[] = {"user_name", "user_enabled"};
};

struct ServiceTokenDBWithNames {
  using Iden = ServiceTokenDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Service Token";
};

}  // namespace dxo::service_token
