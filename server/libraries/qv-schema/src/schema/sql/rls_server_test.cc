// Row-level security on a real server: a session sees and writes only the
// rows of the project it names; members of the across-projects role see all.

#include <gtest/gtest.h>

#include "schema/current/source.h"
#include "schema/sql/rls.h"
#include "test_support/session_fixture.h"

namespace schema::sql::rls {
namespace {

class RlsServerTest : public test_support::SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ensure_across_projects_role();
    run(current::Source().tables());
    run(rls());
    // The superuser is not subject to the policies.
    run("INSERT INTO groups (id, project_id, name, description, created_on, created_by_id, modified_on, "
        "modified_by_id, system, kind) VALUES "
        "('g1', 'p1', 'one', '', now(), 'u', now(), 'u', false, 'k'), "
        "('g2', 'p2', 'two', '', now(), 'u', now(), 'u', false, 'k')");
    member_ = role_name("member");
    run("CREATE ROLE " + member_ + " LOGIN PASSWORD 'secret'");
    run("GRANT USAGE ON SCHEMA public TO " + member_);
    run("GRANT SELECT, INSERT ON groups TO " + member_);
  }

  // A session of the member role with "app.project_id" set to `project`
  // (unset when empty).
  std::optional<connection::Connection> member_session(const std::string& project) {
    auto connected = connection::connect(conninfo_with({{"user", member_}, {"password", "secret"}}));
    EXPECT_TRUE(connected) << connection::describe(connected.error());
    if (!connected) return std::nullopt;
    if (!project.empty()) {
      auto set = connected->execute_script("SET app.project_id = '" + project + "'");
      EXPECT_TRUE(set) << connection::describe(set.error());
    }
    return std::move(*connected);
  }

  static std::string visible(connection::Connection& session) {
    return test_support::query_value(session, "SELECT coalesce(string_agg(id, ',' ORDER BY id), '-') FROM groups");
  }

  std::string member_;
};

// A group without project_id, and one of project p2.
constexpr std::string_view kInsertUnnamed =
    "INSERT INTO groups (id, name, description, created_on, created_by_id, modified_on, modified_by_id, system, "
    "kind) VALUES ('g3', 'x', '', now(), 'u', now(), 'u', false, 'k')";
constexpr std::string_view kInsertOther =
    "INSERT INTO groups (id, project_id, name, description, created_on, created_by_id, modified_on, modified_by_id, "
    "system, kind) VALUES ('g4', 'p2', 'x', '', now(), 'u', now(), 'u', false, 'k')";

TEST_F(RlsServerTest, WithoutAProjectNothingIsVisible) {
  auto session = member_session("");
  ASSERT_TRUE(session);
  EXPECT_EQ(visible(*session), "-");
}

TEST_F(RlsServerTest, AProjectSeesAndWritesOnlyItsOwnRows) {
  auto session = member_session("p1");
  ASSERT_TRUE(session);
  EXPECT_EQ(visible(*session), "g1");
  // project_id defaults to the session's project.
  auto inserted = session->execute_script(kInsertUnnamed);
  EXPECT_TRUE(inserted) << connection::describe(inserted.error());
  auto refused = session->execute_script(kInsertOther);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().message, "new row violates row-level security policy for table \"groups\"");
  EXPECT_EQ(visible(*session), "g1,g3");
  EXPECT_EQ(rows("SELECT project_id FROM groups WHERE id = 'g3'"), std::vector<std::string>{"p1"});
}

TEST_F(RlsServerTest, AcrossProjectsMembersSeeEveryProject) {
  run("GRANT qv_across_projects TO " + member_);
  auto session = member_session("");
  ASSERT_TRUE(session);
  EXPECT_EQ(visible(*session), "g1,g2");
}

}  // namespace
}  // namespace schema::sql::rls
