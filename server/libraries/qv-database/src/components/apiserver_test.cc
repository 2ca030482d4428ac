#include "components/apiserver.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "test_support/schema_fixture.h"

namespace components::apiserver {
namespace {

using test_support::outcome_text;

TEST(ApiserverComponent, NamesItsSchemaPoolsAndCatalog) {
  const component::SchemaComponent& component = kApiserverComponent;
  EXPECT_EQ(component.key(), "apiserver");
  EXPECT_EQ(component.default_schema(), "qv_apiserver");
  EXPECT_EQ(std::vector<std::uint8_t>(component.pools().begin(), component.pools().end()),
            (std::vector<std::uint8_t>{0, 1}));
  EXPECT_EQ(component.schema_source()->current_version(), 13u);
}

TEST(ApiserverComponent, SeedTouchesNoDatabase) {
  auto home = config::schema::Schema::parse("qv_apiserver").value();
  auto roles = admin_pool::RlsRoles::parse("qv_reader", "qv_everywhere").value();
  auto nowhere = admin_pool::AdminPool::open("host=/nonexistent port=1", home, roles).value();
  EXPECT_EQ(outcome_text(kApiserverComponent.seed(nowhere).get()), "ok");
  EXPECT_EQ(nowhere.pool().open_count(), 0u);
}

TEST(AdminPool, AConfigurationWithoutSchemaOrRolesIsRefused) {
  auto home = config::schema::Schema::parse("qv_apiserver").value();
  EXPECT_EQ(admin_pool::AdminPool::open("host=/nonexistent", std::nullopt, std::nullopt).error(),
            "No schema configured: the privileged system entry has no home schema");
  auto without_roles = admin_pool::AdminPool::open("host=/nonexistent", home, std::nullopt).value();
  EXPECT_EQ(without_roles.roles().error(), "No RLS roles configured: the privileged system entry has none");
}

class StateCheck : public test_support::SchemaFixture {
 protected:
  void SetUp() override {
    SchemaFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_NO_FATAL_FAILURE(provision());
    login_ = serving_login();
  }

  std::string check(const std::string& login) { return outcome_text(component().check(serving_pool(login)).get()); }

  // The system table with the rows a sound database has, readable by the roles.
  void sound_system_table() {
    const std::string reader = roles().in_project();
    run("CREATE TABLE quorvale_system (name text PRIMARY KEY, value text);"
        "INSERT INTO quorvale_system VALUES ('quorvale_version', '2'), ('db_version', '13'), "
        "('edition', 'enterprise');");
    run("GRANT USAGE ON SCHEMA qv_apiserver TO " + reader + "; GRANT SELECT ON quorvale_system TO " + reader);
  }

  // A login of this test with `attributes` and the password "pw".
  std::string login_with(const std::string& suffix, const std::string& attributes) {
    const std::string login = role_name(suffix);
    run("CREATE ROLE " + login + " LOGIN PASSWORD 'pw' " + attributes);
    return conninfo_with({{"user", login}, {"password", "pw"}});
  }

  std::string login_;
};

const std::string kBeyondServing =
    "5021 The serving login, or a role it is a member of, is a superuser, bypasses row-level security, has "
    "CREATEROLE or REPLICATION, or is pg_read_server_files, pg_write_server_files or pg_execute_server_program";

TEST_F(StateCheck, AFreshDatabaseHasNoSystemTable) {
  run("GRANT USAGE ON SCHEMA qv_apiserver TO " + roles().in_project());
  EXPECT_EQ(check(login_), "5000 The system table 'quorvale_system' does not exist");
}

TEST_F(StateCheck, EachSystemRowIsComparedWithTheBuild) {
  struct {
    const char* change;
    const char* outcome;
  } cases[] = {
      {"", "ok"},
      {"DELETE FROM quorvale_system WHERE name = 'quorvale_version'", "5017 'quorvale_version' is 1, expected 2"},
      {"UPDATE quorvale_system SET value = '3' WHERE name = 'quorvale_version'",
       "5017 'quorvale_version' is 3, expected 2"},
      {"UPDATE quorvale_system SET value = '02' WHERE name = 'quorvale_version'", "ok"},
      {"UPDATE quorvale_system SET value = 'two' WHERE name = 'quorvale_version'",
       "5003 'quorvale_version' value 'two' must be an integer"},
      {"DELETE FROM quorvale_system WHERE name = 'db_version'", "5003 Missing 'db_version' row in 'quorvale_system'"},
      {"UPDATE quorvale_system SET value = '12' WHERE name = 'db_version'",
       "5001 Quorvale database version is '12', binary database version is '13'"},
      {"UPDATE quorvale_system SET value = '14' WHERE name = 'db_version'",
       "5002 Quorvale database version '14' is newer than the binary's"},
      {"UPDATE quorvale_system SET value = '1 3' WHERE name = 'db_version'",
       "5003 'db_version' value '1 3' must be an integer"},
      {"DELETE FROM quorvale_system WHERE name = 'edition'",
       "5001 instance edition is undefined, binary edition is 'enterprise'"},
      {"UPDATE quorvale_system SET value = 'opensource' WHERE name = 'edition'",
       "5001 instance edition is 'opensource', binary edition is 'enterprise'"},
      {"UPDATE quorvale_system SET value = 'Enterprise' WHERE name = 'edition'",
       "5014 instance edition 'Enterprise' is not compatible with binary edition 'enterprise'"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.change);
    run("DROP TABLE IF EXISTS quorvale_system");
    sound_system_table();
    if (*test_case.change != '\0') run(test_case.change);
    EXPECT_EQ(check(login_), test_case.outcome);
  }
}

TEST_F(StateCheck, EditionPayloadIsTheStoredAndTheBuildEdition) {
  sound_system_table();
  run("UPDATE quorvale_system SET value = 'Enterprise' WHERE name = 'edition'");
  auto checked = component().check(serving_pool(login_)).get();
  ASSERT_FALSE(checked);
  EXPECT_EQ(checked.error().texts, (std::vector<std::string>{"Enterprise", "enterprise"}));
}

// A login that is a member of a role, at any depth and whether or not it
// inherits, can SET ROLE to it; a login whose role setting starts its
// sessions as the in-project role can SET ROLE NONE back to itself.
TEST_F(StateCheck, NeitherTheServingLoginNorARoleItIsAMemberOfMayBypassRowLevelSecurity) {
  sound_system_table();
  const std::string in_project = roles().in_project();
  run("CREATE ROLE " + role_name("bypassing") + " NOLOGIN BYPASSRLS; CREATE ROLE " + role_name("super") +
      " NOLOGIN SUPERUSER; CREATE ROLE " + role_name("gate") + " NOLOGIN NOINHERIT IN ROLE " + role_name("bypassing") +
      "; CREATE ROLE " + role_name("middle") + " NOLOGIN IN ROLE " + role_name("gate") + ", " + role_name("super"));
  struct {
    std::string login;
    std::string attributes;
    std::string starts_as;  // the login's role setting, if any
    std::string outcome;
  } cases[] = {
      {"direct", "BYPASSRLS IN ROLE " + in_project, "", kBeyondServing},
      {"member", "IN ROLE " + in_project + ", " + role_name("bypassing"), "", kBeyondServing},
      {"through_noinherit", "IN ROLE " + in_project + ", " + role_name("gate"), "", kBeyondServing},
      {"deeper", "IN ROLE " + in_project + ", " + role_name("middle"), "", kBeyondServing},
      {"super_as_in_project", "SUPERUSER", in_project, kBeyondServing},
      {"bypassing_as_in_project", "BYPASSRLS IN ROLE " + in_project, in_project, kBeyondServing},
      {"sound_as_in_project", "IN ROLE " + in_project, in_project, "ok"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.login);
    const std::string login = role_name(test_case.login);
    run("CREATE ROLE " + login + " LOGIN PASSWORD 'pw' " + test_case.attributes);
    if (!test_case.starts_as.empty()) run("ALTER ROLE " + login + " SET role = '" + test_case.starts_as + "'");
    EXPECT_EQ(check(conninfo_with({{"user", login}, {"password", "pw"}})), test_case.outcome);
  }
  EXPECT_EQ(check(conninfo()), kBeyondServing);
  EXPECT_EQ(check(login_), "ok");

  // A temporary table named pg_roles, left in a pooled session by an earlier
  // request, does not answer for the catalog's.
  pool::PoolOptions one_session;
  one_session.max_size = 1;
  auto pool = pool::serving::QvPool::open(conninfo_with({{"user", role_name("direct")}, {"password", "pw"}}), home(),
                                          in_project, one_session)
                  .value();
  {
    auto lease = pool.pool().acquire();
    ASSERT_TRUE(lease);
    auto created =
        (*lease)->execute_script("CREATE TEMPORARY TABLE pg_roles (oid oid, rolsuper bool, rolbypassrls bool)");
    ASSERT_TRUE(created) << connection::describe(created.error());
  }
  EXPECT_EQ(outcome_text(component().check(pool).get()), kBeyondServing);
}

// CREATEROLE grants itself any predefined role on PostgreSQL 15, and other
// deployments' roles; REPLICATION and the server-file roles reach past the
// database. Each is refused on the login and on any role above it.
TEST_F(StateCheck, NoServingLoginHoldsAPowerBeyondServing) {
  sound_system_table();
  const std::string in_project = roles().in_project();
  run("CREATE ROLE " + role_name("creator") + " NOLOGIN CREATEROLE; CREATE ROLE " + role_name("replicator") +
      " NOLOGIN REPLICATION; CREATE ROLE " + role_name("gate") + " NOLOGIN NOINHERIT IN ROLE " +
      role_name("creator") + "; CREATE ROLE " + role_name("middle") + " NOLOGIN IN ROLE " + role_name("replicator"));
  struct {
    std::string login;
    std::string attributes;
    std::string outcome;
  } cases[] = {
      {"sound", "IN ROLE " + in_project, "ok"},
      {"createrole", "CREATEROLE IN ROLE " + in_project, kBeyondServing},
      {"replication", "REPLICATION IN ROLE " + in_project, kBeyondServing},
      {"creator_through_noinherit", "IN ROLE " + in_project + ", " + role_name("gate"), kBeyondServing},
      {"replicator_deeper", "IN ROLE " + in_project + ", " + role_name("middle"), kBeyondServing},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.login);
    EXPECT_EQ(check(login_with(test_case.login, test_case.attributes)), test_case.outcome);
  }
  for (std::string_view server_role : pool::serving::kServerFileRoles) {
    SCOPED_TRACE(server_role);
    const std::string role(server_role);
    const std::string middle = role_name("above_" + role);
    const std::string deeper = role_name("below_" + role);
    run("CREATE ROLE " + middle + " NOLOGIN NOINHERIT IN ROLE " + role + "; CREATE ROLE " + deeper +
        " NOLOGIN IN ROLE " + middle);
    EXPECT_EQ(check(login_with("direct_" + role, "IN ROLE " + in_project + ", " + role)), kBeyondServing);
    EXPECT_EQ(check(login_with("deeper_" + role, "IN ROLE " + in_project + ", " + deeper)), kBeyondServing);
  }
  EXPECT_EQ(check(login_), "ok");
}

// In place of the system table, a view of the owner's over a function of the
// owner's that records who calls it: a login with powers beyond serving is
// refused before anything of the home schema runs as that login.
TEST_F(StateCheck, ThePostureIsCheckedBeforeAnythingOfTheHomeSchemaIsRead) {
  const std::string in_project = roles().in_project();
  run("SET ROLE " + owner() +
      ";"
      "CREATE TABLE calls (login name, running_as name);"
      "GRANT INSERT, SELECT ON calls TO PUBLIC;"
      "CREATE FUNCTION system_rows() RETURNS TABLE (name text, value text) LANGUAGE plpgsql AS $$ BEGIN "
      "INSERT INTO qv_apiserver.calls VALUES (session_user, current_user); RETURN QUERY VALUES "
      "('quorvale_version'::text, '2'::text), ('db_version', '13'), ('edition', 'enterprise'); END $$;"
      "CREATE VIEW quorvale_system AS SELECT * FROM system_rows();"
      "GRANT USAGE ON SCHEMA qv_apiserver TO " +
      in_project + "; GRANT SELECT ON quorvale_system TO " + in_project);
  EXPECT_EQ(check(conninfo()), kBeyondServing);
  EXPECT_EQ(check(login_with("creator", "CREATEROLE IN ROLE " + in_project)), kBeyondServing);
  EXPECT_EQ(value("SELECT count(*) FROM calls"), "0");
  // A sound login reads what the owner put there.
  EXPECT_EQ(check(login_), "ok");
  EXPECT_EQ(value("SELECT count(*) FROM calls"), "3");
}

TEST_F(StateCheck, TheInProjectRoleMustNotBeAMemberOfQvAcrossProjects) {
  sound_system_table();
  const std::string in_project = roles().in_project();
  const std::string across = roles().across_projects();
  const std::string middle = role_name("middle");
  run("CREATE ROLE " + middle + " NOINHERIT IN ROLE qv_across_projects");
  struct {
    std::string layout;
    std::string undo;
  } cases[] = {
      {"GRANT qv_across_projects TO " + in_project, "REVOKE qv_across_projects FROM " + in_project},
      {"ALTER ROLE " + in_project + " NOINHERIT; GRANT qv_across_projects TO " + in_project,
       "ALTER ROLE " + in_project + " INHERIT; REVOKE qv_across_projects FROM " + in_project},
      {"ALTER ROLE " + in_project + " NOINHERIT; GRANT " + across + " TO " + in_project,
       "ALTER ROLE " + in_project + " INHERIT; REVOKE " + across + " FROM " + in_project},
      {"GRANT " + middle + " TO " + in_project, "REVOKE " + middle + " FROM " + in_project},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.layout);
    run(test_case.layout);
    EXPECT_EQ(check(login_), "5050 The in-project role is a member of 'qv_across_projects'");
    run(test_case.undo);
    EXPECT_EQ(check(login_), "ok");
  }
}

TEST_F(StateCheck, AnUndefinedInProjectRoleSettingFailsThePostureQuery) {
  sound_system_table();
  auto pool = pool::serving::QvPool::open(login_, home(), std::nullopt).value();
  auto checked = component().check(pool).get();
  ASSERT_FALSE(checked);
  EXPECT_EQ(checked.error().code, error::DbCode::ReadFailed);
  EXPECT_EQ(checked.error().client->sqlstate, "42704");
}

}  // namespace
}  // namespace components::apiserver
