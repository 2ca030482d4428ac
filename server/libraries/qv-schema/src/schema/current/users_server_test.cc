// The users module on a real server: its table, view and seeds install, and
// the constraints and the view behave as the accounts need.

#include <gtest/gtest.h>

#include "schema/current/users.h"
#include "schema/render.h"
#include "test_support/session_fixture.h"

namespace schema::current::users {
namespace {

class UsersServerTest : public test_support::SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const Defs users;
    for (const sqlbuilder::TableCreate& table : users.create_tables()) run(render::render_schema(table));
    for (const sql::view::ViewDef& view : users.create_views()) run_all(view.derived().create);
    for (sqlbuilder::Insert& seed : users.seeds()) run(render::render_query(std::move(seed)));
  }

  static std::string insert_user(std::string_view id, std::string_view name, std::string_view email,
                                 std::string_view created_by) {
    const std::string creator = "'" + std::string(created_by) + "'";
    return "INSERT INTO users VALUES ('" + std::string(id) + "', '" + std::string(name) + "', 'Someone', " +
           std::string(email) + ", now(), " + creator + ", now(), " + creator + ", '!', now(), false, true, false)";
  }
};

TEST_F(UsersServerTest, SeedsTheSystemUserThenTheAdministrator) {
  EXPECT_EQ(rows("SELECT id, name, full_name, email, enabled, system, password_must_change FROM users ORDER BY id"),
            (std::vector<std::string>{"00000000000000000000000000|system|System|NULL|f|t|f",
                                      "00000000000000000000000004|admin|Administrator|NULL|t|f|f"}));
  // The system user is its own creator and modifier, and the administrator's.
  EXPECT_EQ(rows("SELECT count(*) FROM users WHERE created_by_id = '00000000000000000000000000' "
                 "AND modified_by_id = '00000000000000000000000000' "
                 "AND created_on = modified_on AND created_on = password_set_on"),
            std::vector<std::string>{"2"});
  EXPECT_EQ(rows("SELECT length(password_hash) FROM users ORDER BY id"), (std::vector<std::string>{"1", "97"}));
}

TEST_F(UsersServerTest, NamesAreUniqueAndMissingEmailsDoNotCollide) {
  const struct {
    std::string insert;
    std::string outcome;
  } cases[] = {
      {insert_user("1", "admin", "NULL", "1"), "duplicate key value violates unique constraint \"users_name_key\""},
      {insert_user("2", "system", "NULL", "1"), "duplicate key value violates unique constraint \"users_name_key\""},
      {insert_user("3", "ann", "NULL", "1"), "ok"},
      {insert_user("4", "bob", "NULL", "1"), "ok"},
      {insert_user("5", "cyd", "'x@example.org'", "1"), "ok"},
      {insert_user("6", "dan", "'x@example.org'", "1"),
       "duplicate key value violates unique constraint \"users_email_key\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.insert);
    EXPECT_EQ(outcome(c.insert), c.outcome);
  }
}

TEST_F(UsersServerTest, ViewShowsCreatorNamesOrTheRawIdInBrackets) {
  run(insert_user("ann-id", "ann", "NULL", "gone"));
  EXPECT_EQ(rows("SELECT name, created_by, modified_by FROM users__with_names ORDER BY id"),
            (std::vector<std::string>{"system|system|system", "admin|system|system", "ann|[gone]|[gone]"}));
}

}  // namespace
}  // namespace schema::current::users
