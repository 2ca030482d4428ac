#include "pool/state.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support/database_fixture.h"

namespace pool::state {
namespace {

class ServerVersion : public test_support::DatabaseFixture {
 protected:
  // A pool whose sessions find `fake.current_setting` before the built-in
  // one, which reports `server_version_num` as the given text.
  Pool faking(const std::string& server_version_num) {
    auto server = connection::connect(conninfo());
    EXPECT_TRUE(server);
    auto created = server->execute_script(
        "CREATE SCHEMA IF NOT EXISTS fake; CREATE OR REPLACE FUNCTION fake.current_setting(name text) RETURNS text "
        "LANGUAGE sql AS $$ SELECT CASE WHEN name = 'server_version_num' THEN " + server_version_num +
        " ELSE pg_catalog.current_setting(name) END $$");
    EXPECT_TRUE(created) << connection::describe(created.error());
    return Pool(conninfo(), PoolOptions{.max_size = 1,
                                        .acquire_timeout = std::chrono::seconds(5),
                                        .settings = {{"options", "-c search_path=fake,pg_catalog"}}});
  }

  static std::string outcome(const Result<void>& checked) {
    if (checked) return "ok";
    return std::to_string(checked.error().numeric_code()) + " " + error::message(checked.error());
  }
};

TEST_F(ServerVersion, PostgreSQL15OrLaterIsRequired) {
  struct {
    const char* reported;
    const char* outcome;
  } cases[] = {
      {"'140013'", "5020 PostgreSQL server_version_num is 140013, at least 150000 is required"},
      {"'149999'", "5020 PostgreSQL server_version_num is 149999, at least 150000 is required"},
      {"'150000'", "ok"},
      {"'170002'", "ok"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.reported);
    EXPECT_EQ(outcome(check_pg_min_version(faking(test_case.reported))), test_case.outcome);
  }
  EXPECT_EQ(outcome(check_pg_min_version(Pool(conninfo(), PoolOptions{}))), "ok");
}

TEST_F(ServerVersion, AFailedQueryIsAReadFailure) {
  auto checked = check_pg_min_version(faking("'fifteen'"));
  ASSERT_FALSE(checked);
  EXPECT_EQ(checked.error().code, error::DbCode::ReadFailed);
  EXPECT_EQ(checked.error().client->sqlstate, "22P02");
}

TEST(ParseVersion, DigitsOnly) {
  EXPECT_EQ(parse_version("13"), 13u);
  EXPECT_EQ(parse_version("02"), 2u);
  EXPECT_EQ(parse_version("0"), 0u);
  for (const char* text : {"", "+1", "-1", " 1", "1 ", "1.0", "abc", "99999999999"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(parse_version(text), std::nullopt);
  }
}

}  // namespace
}  // namespace pool::state
