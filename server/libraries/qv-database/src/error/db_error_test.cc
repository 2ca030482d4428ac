#include "error/db_error.h"

#include <gtest/gtest.h>

#include <string>

namespace error {
namespace {

TEST(DbError, EachRaisedCodeCarriesThePayloadOfItsShape) {
  const connection::Error client = connection::client_error(connection::ErrorKind::Io, "gone");
  struct {
    DbError error;
    std::uint16_t code;
    Payload payload;
  } cases[] = {
      {system_table_missing(), 5000, Payload::None},
      {outdated("t"), 5001, Payload::OneText},
      {version_ahead("14"), 5002, Payload::OneText},
      {invalid_system_value("t"), 5003, Payload::OneText},
      {write_failed(client), 5008, Payload::ClientError},
      {read_failed(client), 5009, Payload::ClientError},
      {edition_incompatible("x", "enterprise"), 5014, Payload::TwoTexts},
      {edition_write_failed(client), 5015, Payload::ClientError},
      {edition_not_upgradable("t"), 5016, Payload::OneText},
      {system_layout(1, 2), 5017, Payload::Versions},
      {server_too_old(140000, 150000), 5020, Payload::Versions},
      {login_bypasses_rls(), 5021, Payload::None},
      {missing_privilege("CREATE on schema s"), 5022, Payload::OneText},
      {upgrade_locked("s"), 5046, Payload::OneText},
      {in_project_role_across_projects(), 5050, Payload::None},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.code);
    const DbError& error = test_case.error;
    EXPECT_EQ(error.numeric_code(), test_case.code);
    EXPECT_EQ(payload_of(error.code), test_case.payload);
    std::size_t texts = test_case.payload == Payload::OneText ? 1 : test_case.payload == Payload::TwoTexts ? 2 : 0;
    EXPECT_EQ(error.texts.size(), texts);
    EXPECT_EQ(error.client.has_value(), test_case.payload == Payload::ClientError);
    EXPECT_EQ(error.versions.has_value(), test_case.payload == Payload::Versions);
    EXPECT_FALSE(message(error).empty());
  }
}

TEST(DbError, TextsFollowTheirTemplatesWithArgumentsInOrder) {
  EXPECT_EQ(integer_value_message("db_version", "abc"), "'db_version' value 'abc' must be an integer");
  EXPECT_EQ(missing_row_message("db_version", "quorvale_system"), "Missing 'db_version' row in 'quorvale_system'");
  EXPECT_EQ(version_message(12, 13), "Quorvale database version is '12', binary database version is '13'");
  EXPECT_EQ(undefined_edition_message("enterprise"), "instance edition is undefined, binary edition is 'enterprise'");
  EXPECT_EQ(edition_message("opensource", "enterprise"),
            "instance edition is 'opensource', binary edition is 'enterprise'");
  EXPECT_EQ(not_upgradable_message("Enterprise", "enterprise"),
            "instance edition is 'Enterprise' cannot be upgraded to 'enterprise'");
  EXPECT_EQ(message(missing_privilege("CREATE on schema qv_apiserver")),
            "Missing privilege: CREATE on schema qv_apiserver");
  EXPECT_EQ(message(server_too_old(140000, 150000)),
            "PostgreSQL server_version_num is 140000, at least 150000 is required");
}

}  // namespace
}  // namespace error
