// The system table on a real server.

#include <gtest/gtest.h>

#include "schema/current/system.h"
#include "schema/quorvale_system.h"
#include "schema/render.h"
#include "test_support/session_fixture.h"

namespace schema {
namespace {

class QuorvaleSystemServerTest : public test_support::SessionFixture {};

TEST_F(QuorvaleSystemServerTest, CreatedTwiceAndSeededWithText) {
  run(render::render_schema(create_system_table()));
  run(render::render_schema(create_system_table()));
  for (sqlbuilder::Insert& seed : current::system::Defs().seeds()) run(render::render_query(std::move(seed)));
  EXPECT_EQ(rows("SELECT name, value, pg_typeof(value) FROM quorvale_system"),
            std::vector<std::string>{"quorvale_version|2|text"});
}

TEST_F(QuorvaleSystemServerTest, VersionUpdateChangesOnlyAnExistingRow) {
  run(render::render_schema(create_system_table()));
  // Without the row the update changes nothing and does not fail.
  auto missing = session().execute(render::update_db_version(13));
  ASSERT_TRUE(missing) << connection::describe(missing.error());
  EXPECT_EQ(missing->rows_affected(), 0u);
  run("INSERT INTO quorvale_system VALUES ('db_version', '12'), ('edition', 'enterprise')");
  auto updated = session().execute(render::update_db_version(13));
  ASSERT_TRUE(updated) << connection::describe(updated.error());
  EXPECT_EQ(updated->rows_affected(), 1u);
  EXPECT_EQ(rows("SELECT name, value FROM quorvale_system ORDER BY name"),
            (std::vector<std::string>{"db_version|13", "edition|enterprise"}));
}

}  // namespace
}  // namespace schema
