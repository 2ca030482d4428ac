// Users, their service tokens and their sessions on the installed schema:
// the seeded principals, the unique columns, the RESTRICT of the token
// owner, and the name-resolving views.

#include <gtest/gtest.h>

#include "test_support/catalog_rows.h"
#include "test_support/installed_schema.h"
#include "test_support/sql_outcome.h"

namespace schema::current {
namespace {

using test_support::insert_row;
using test_support::outcome;
using test_support::query_rows;
using test_support::run_texts;
using Rows = std::vector<std::string>;

class UsersServerTest : public test_support::InstalledSchemaFixture {};

TEST_F(UsersServerTest, SeedsTheSystemUserAndTheAdministrator) {
  EXPECT_EQ(query_rows(db(), "SELECT id, name, full_name, email, created_by_id, modified_by_id, password_hash, "
                             "password_must_change, enabled, system FROM users ORDER BY id"),
            (Rows{"00000000000000000000000000|system|System|NULL|00000000000000000000000000|"
                  "00000000000000000000000000|!|f|f|t",
                  "00000000000000000000000004|admin|Administrator|NULL|00000000000000000000000000|"
                  "00000000000000000000000000|$argon2id$v=19$m=19456,t=2,p=1$Zq3vN8pLw2XkTm5RbY7cHd$"
                  "Vh4Qe9Ls2Kd7Wn1Bx6Jt3Mr8Pc5Gy0Fz2Ua7Nk4Ei9S|f|t|f"}));
  // All three times are the install transaction's CURRENT_TIMESTAMP.
  EXPECT_EQ(query_rows(db(), "SELECT count(DISTINCT t) FROM users, "
                             "LATERAL (VALUES (created_on), (modified_on), (password_set_on)) AS times (t)"),
            Rows{"1"});
}

TEST_F(UsersServerTest, NamesAndEmailAddressesAreUnique) {
  struct Case {
    const char* what;
    test_support::Values values;
    const char* outcome;
  };
  const Case cases[] = {
      {"the administrator's name", {{"id", "'u2'"}, {"name", "'admin'"}},
       "23505: duplicate key value violates unique constraint \"users_name_key\""},
      {"the system user's name", {{"id", "'u2'"}, {"name", "'system'"}},
       "23505: duplicate key value violates unique constraint \"users_name_key\""},
      {"no e-mail address, like the seeded users", {{"id", "'u2'"}, {"name", "'user2'"}}, "ok"},
      {"an e-mail address", {{"id", "'u3'"}, {"name", "'user3'"}, {"email", "'a@example.org'"}}, "ok"},
      {"the same e-mail address", {{"id", "'u4'"}, {"name", "'user4'"}, {"email", "'a@example.org'"}},
       "23505: duplicate key value violates unique constraint \"users_email_key\""},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(db(), insert_row("users", c.values)), c.outcome) << c.what;
}

TEST_F(UsersServerTest, NamesOfCreatorsAndModifiersOrTheirIdsInBrackets) {
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {insert_row("users", {{"created_by_id", "'gone'"}, {"modified_by_id", "'00000000000000000000000004'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT name, created_by, modified_by FROM users__with_names ORDER BY id"),
            (Rows{"system|system|system", "admin|system|system", "user1|[gone]|admin"}));
}

TEST_F(UsersServerTest, ServiceTokenSlotsAreOneAndTwo) {
  struct Case {
    const char* slot;
    const char* outcome;
  };
  const char* const check_failed =
      "23514: new row for relation \"service_tokens\" violates check constraint \"service_tokens_slot_check\"";
  const Case cases[] = {{"0", check_failed}, {"1", "ok"}, {"2", "ok"}, {"3", check_failed}};
  for (const Case& c : cases) {
    const std::string slot = c.slot;
    EXPECT_EQ(outcome(db(), insert_row("service_tokens",
                                       {{"id", "'st" + slot + "'"}, {"slot", slot}, {"digest", "'d" + slot + "'"}})),
              c.outcome)
        << "slot " << slot;
  }
}

TEST_F(UsersServerTest, OneServiceTokenPerUserAndSlotAndPerDigest) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("users"), insert_row("service_tokens")}));
  struct Case {
    const char* what;
    test_support::Values values;
    const char* outcome;
  };
  const Case cases[] = {
      {"same user and slot", {{"id", "'st2'"}, {"digest", "'digest2'"}},
       "23505: duplicate key value violates unique constraint \"service_tokens___user_id__slot___idx\""},
      {"same digest, another user", {{"id", "'st2'"}, {"user_id", "'u1'"}},
       "23505: duplicate key value violates unique constraint \"service_tokens_digest_key\""},
      {"same user, the other slot", {{"id", "'st2'"}, {"slot", "2"}, {"digest", "'digest2'"}}, "ok"},
      {"another user, the same slot", {{"id", "'st3'"}, {"user_id", "'u1'"}, {"digest", "'digest3'"}}, "ok"},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(db(), insert_row("service_tokens", c.values)), c.outcome) << c.what;
}

TEST_F(UsersServerTest, ServiceTokensBelongToExistingUsers) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("users"), insert_row("service_tokens", {{"user_id", "'u1'"}})}));
  EXPECT_EQ(outcome(db(), "DELETE FROM users WHERE id = 'u1'"),
            "23503: update or delete on table \"users\" violates foreign key constraint "
            "\"service_tokens_user_id_fkey\" on table \"service_tokens\"");
  EXPECT_EQ(outcome(db(), insert_row("service_tokens", {{"id", "'st2'"}, {"user_id", "'gone'"}, {"digest", "'d2'"}})),
            "23503: insert or update on table \"service_tokens\" violates foreign key constraint "
            "\"service_tokens_user_id_fkey\"");
}

TEST_F(UsersServerTest, ServiceTokensListTheirUsersNameAndEnabledFlag) {
  ASSERT_NO_FATAL_FAILURE(run_texts(
      db(), {insert_row("users", {{"enabled", "false"}}), insert_row("service_tokens"),
             insert_row("service_tokens", {{"id", "'st2'"}, {"user_id", "'u1'"}, {"digest", "'digest2'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT id, user_name, user_enabled FROM service_tokens__with_names ORDER BY id"),
            (Rows{"st1|admin|t", "st2|user1|f"}));
}

TEST_F(UsersServerTest, RefreshTokenIdsAreUnique) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("sessions")}));
  EXPECT_EQ(outcome(db(), insert_row("sessions", {{"access_token_id", "'a2'"}})),
            "23505: duplicate key value violates unique constraint \"sessions_refresh_token_id_key\"");
}

TEST_F(UsersServerTest, SessionsOfAMissingUserAreNotListedWithNames) {
  ASSERT_NO_FATAL_FAILURE(run_texts(db(), {insert_row("sessions"), insert_row("sessions", {{"access_token_id", "'a2'"},
                                                                                           {"refresh_token_id", "'r2'"},
                                                                                           {"user_id", "'gone'"}})}));
  EXPECT_EQ(query_rows(db(), "SELECT access_token_id, user_id FROM sessions ORDER BY 1"),
            (Rows{"a1|00000000000000000000000004", "a2|gone"}));
  EXPECT_EQ(query_rows(db(), "SELECT access_token_id, user_name FROM sessions__with_names"), (Rows{"a1|admin"}));
}

}  // namespace
}  // namespace schema::current
