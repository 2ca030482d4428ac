#include "pool/session.h"

#include <gtest/gtest.h>

#include "connection/conninfo.h"

namespace pool::session {
namespace {

std::string setting(const std::string& conninfo, std::string_view keyword) {
  auto settings = connection::parse_conninfo(conninfo).value();
  const std::string* value = connection::find_setting(settings, keyword);
  return value == nullptr ? "(unset)" : *value;
}

TEST(SessionConninfo, AddsServerSettingsAfterTheStringsOwnOptions) {
  std::string sessions =
      session_conninfo("host=db options='-c work_mem=4MB'", {{"search_path", "qv_apiserver"}, {"a.b", "x y\\z"}})
          .value();
  EXPECT_EQ(setting(sessions, "options"), "-c work_mem=4MB -c search_path=qv_apiserver -c a.b=x\\ y\\\\z");
  EXPECT_EQ(setting(sessions, "host"), "db");
}

TEST(SessionConninfo, BoundsWaitingUnlessTheStringSaysOtherwise) {
  std::string defaults = session_conninfo("postgresql://db/app", {}).value();
  EXPECT_EQ(setting(defaults, "connect_timeout"), "10");
  EXPECT_EQ(setting(defaults, "keepalives_idle"), "10");
  EXPECT_EQ(setting(defaults, "tcp_user_timeout"), "30000");
  std::string own = session_conninfo("host=db connect_timeout=3 tcp_user_timeout=0", {}).value();
  EXPECT_EQ(setting(own, "connect_timeout"), "3");
  EXPECT_EQ(setting(own, "tcp_user_timeout"), "0");
}

TEST(SessionConninfo, RefusesAMalformedString) {
  EXPECT_EQ(session_conninfo("host='unterminated", {}).error().kind, connection::ErrorKind::Connect);
}

}  // namespace
}  // namespace pool::session
