#include "connection/setting_values.h"

#include <gtest/gtest.h>

namespace connection {
namespace {

TEST(RefusedSetting, ValuesLibpqReadsItselfFollowItsRules) {
  const struct {
    const char* keyword;
    const char* value;
    bool accepted;
  } cases[] = {
      {"port", "5432", true},
      {"port", " 5432 ", true},
      {"port", "5432,,5433", true},
      {"port", "", true},
      {"port", "0", false},
      {"port", "65536", false},
      {"port", "5432,x", false},
      {"port", "54 32", false},
      {"hostaddr", "127.0.0.1", true},
      {"hostaddr", "::1,,10.0.0.1", true},
      {"hostaddr", "localhost", false},
      {"connect_timeout", "10", true},
      {"connect_timeout", "", false},
      {"keepalives", "-1", true},
      {"keepalives_count", "3x", false},
      {"tcp_user_timeout", "99999999999", false},
      {"sslmode", "verify-full", true},
      {"sslmode", "Require", false},
      {"gssencmode", "disable", true},
      {"channel_binding", "required", false},
      {"target_session_attrs", "prefer-standby", true},
      {"target_session_attrs", "", false},
      {"ssl_min_protocol_version", "tlsv1.2", true},
      {"ssl_max_protocol_version", "", true},
      {"ssl_max_protocol_version", "TLSv1.4", false},
      {"password", "any text, even ,=' ", true},
      {"host", "/tmp,db.example", true},
      // An unescaped '@' in a URI's password leaves the rest of it in the host.
      {"host", "tPart@db.internal", false},
      {"host", "db.example,s3cr@db", false},
      {"host", "@abstract-socket", true},
      {"hostaddr", "10.0.0.1@x", false},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(std::string(test_case.keyword) + "=" + test_case.value);
    std::optional<std::string> refused = refused_setting({{"host", "db"}, {test_case.keyword, test_case.value}});
    EXPECT_EQ(refused, test_case.accepted ? std::nullopt : std::optional<std::string>(test_case.keyword));
  }
}

TEST(RefusedSetting, NamesTheFirstRefusedKeyword) {
  EXPECT_EQ(refused_setting({{"sslmode", "x"}, {"port", "x"}}), "sslmode");
  EXPECT_EQ(refused_setting({}), std::nullopt);
}

}  // namespace
}  // namespace connection
