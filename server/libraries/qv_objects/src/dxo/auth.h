#pragma once

// Data-access records of login sessions.

#include <string_view>

namespace dxo::auth {

struct SessionDBIden {
  static constexpr std::string_view Table = "sessions";
  static constexpr std::string_view kColumns[] = {"access_token_id", "refresh_token_id", "user_id", "created_on",
                                                  "expires_on",      "status_change_on", "status"};
};

struct SessionDB {
  using Iden = SessionDBIden;
  static constexpr std::string_view kDisplayName = "Session";
};

struct SessionDBWithNamesIden {
  static constexpr std::string_view Table = "sessions__with_names";
  using Base = SessionDBIden;
  static constexpr std::string_view kColumns[] = {"user_name"};
};

struct SessionDBWithNames {
  using Iden = SessionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Session";
};

}  // namespace dxo::auth
