// What provisioning refuses before it creates anything, and what no role but
// the administrator controls while provisioning, the upgrade's lock and the
// state check run: schema_host against the test server, one process per call.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schema_host_fixture.h"

namespace {

using schema_host_test::Finished;

const std::string kStatementFailed = "{\"error\":{\"code\":5008,\"message\":\"Database statement failed: ERROR P0001: ";

class Provisioning : public schema_host_test::SchemaHostFixture {
 protected:
  // The roles of this test, by name.
  std::string test_roles() {
    return value(
        "SELECT coalesce(string_agg(rolname, ',' ORDER BY rolname), 'none') FROM pg_roles WHERE "
        "starts_with(rolname, '" +
        database_name() + "')");
  }
  std::string home_schemas() { return value("SELECT count(*) FROM pg_namespace WHERE nspname = 'qv_apiserver'"); }
};

TEST_F(Provisioning, NamesAreRefusedBeforeAnyStatement) {
  struct {
    std::string option;
    std::string value;
    std::string field;
  } cases[] = {
      {"--in-project", "x\", PUBLIC --", "in_project"},
      {"--across", "a b", "across_projects"},
      {"--owner", "pg_owner", "owner"},
      {"--schema", "Qv", "schema"},
      {"--across", roles().in_project(), "across_projects"},
      {"--owner", roles().in_project(), "owner"},
      {"--owner", roles().across_projects(), "owner"},
      {"--in-project", "qv_across_projects", "in_project"},
      {"--across", "qv_across_projects", "across_projects"},
      {"--owner", "qv_across_projects", "owner"},
      {"--owner", "public", "owner"},
      {"--owner", "none", "owner"},
      {"--in-project", "public", "in_project"},
      {"--in-project", "none", "in_project"},
      {"--across", "public", "across_projects"},
      {"--across", "none", "across_projects"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.option + " " + test_case.value);
    Finished refused = host(provision_args_with(test_case.option, test_case.value));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith("{\"error\":{\"message\":\"" + test_case.field + ": "));
  }
  Finished without_password = host(provision_args(conninfo()), "");
  EXPECT_EQ(without_password.err, "{\"error\":{\"message\":\"owner_password: must not be empty\"}}\n");
  EXPECT_EQ(test_roles(), "none");
  EXPECT_EQ(home_schemas(), "0");
}

// GRANT ... TO "public" would give every login every project's rows.
TEST_F(Provisioning, TheUpgradeAndTheCheckRefuseReservedRoleNames) {
  Finished provisioned = host(provision_args(conninfo()));
  ASSERT_EQ(provisioned.status, 0) << provisioned.err;
  const std::string reserved =
      "' is reserved by PostgreSQL, where it stands for every role or for none; name a role of its own\"}}\n";
  for (const std::string name : {"public", "none"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(host(with_option(upgrade_args(conninfo()), "--in-project", name)).err,
              "{\"error\":{\"message\":\"in_project: '" + name + reserved);
    EXPECT_EQ(host(with_option(upgrade_args(conninfo()), "--across", name)).err,
              "{\"error\":{\"message\":\"across_projects: '" + name + reserved);
    EXPECT_EQ(host({"check", "--serving", conninfo(), "--schema", "qv_apiserver", "--in-project", name}).err,
              "{\"error\":{\"message\":\"in_project: '" + name + reserved);
  }
  EXPECT_EQ(value("SELECT count(*) FROM pg_class WHERE relnamespace = 'qv_apiserver'::regnamespace"), "0");
}

// The owner becomes a member of both RLS roles and the serving logins of the
// in-project role, so neither may carry, or reach by SET ROLE, powers beyond
// row-level security, nor may the in-project role reach a role that sees
// every project.
TEST_F(Provisioning, ExistingRolesWithPowersBeyondRowLevelSecurityAreRefusedAndNothingIsCreated) {
  const std::string rule =
      "a row-level-security role must hold none of SUPERUSER, BYPASSRLS, CREATEROLE, REPLICATION and ADMIN OPTION, "
      "directly or through a role it is a member of, nor be a member of pg_execute_server_program, "
      "pg_read_server_files or pg_write_server_files";
  const std::string across = roles().across_projects();
  const std::string granted = role_name("granted");
  const std::string lead = role_name("lead");
  const std::string files = role_name("files");
  const std::string replicator = role_name("replicator");
  const std::string super = role_name("super");
  const std::string middle = role_name("middle");
  run("CREATE ROLE " + super + " SUPERUSER NOLOGIN; CREATE ROLE " + granted + "; CREATE ROLE " + lead + "; GRANT " +
      granted + " TO " + lead + " WITH ADMIN OPTION; CREATE ROLE " + files +
      " IN ROLE pg_write_server_files; CREATE ROLE " + replicator + " REPLICATION NOLOGIN");
  run("DO $$ BEGIN CREATE ROLE qv_across_projects NOBYPASSRLS NOLOGIN; "
      "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$; "
      "CREATE ROLE " +
      middle + " IN ROLE qv_across_projects");
  struct {
    std::string option;
    std::string role;
    std::string setup;  // after CREATE ROLE <role>
    std::string refusal;
    std::string memberships;
  } cases[] = {
      {"--in-project", role_name("i1"), " SUPERUSER", "role " + role_name("i1") + " has SUPERUSER; " + rule, "0"},
      {"--across", role_name("a1"), " LOGIN BYPASSRLS", "role " + role_name("a1") + " has BYPASSRLS; " + rule, "0"},
      {"--in-project", role_name("i2"), " CREATEROLE BYPASSRLS",
       "role " + role_name("i2") + " has BYPASSRLS, CREATEROLE; " + rule, "0"},
      {"--in-project", role_name("i3"), " REPLICATION", "role " + role_name("i3") + " has REPLICATION; " + rule, "0"},
      {"--across", role_name("a2"), " IN ROLE " + super,
       "role " + role_name("a2") + " is a member of " + super + ", which has SUPERUSER; " + rule, "1"},
      {"--in-project", role_name("i4"), " NOINHERIT IN ROLE " + replicator,
       "role " + role_name("i4") + " is a member of " + replicator + ", which has REPLICATION; " + rule, "1"},
      {"--in-project", role_name("i5"), " IN ROLE pg_execute_server_program",
       "role " + role_name("i5") + " is a member of pg_execute_server_program; " + rule, "1"},
      {"--across", role_name("a3"), " IN ROLE pg_read_server_files",
       "role " + role_name("a3") + " is a member of pg_read_server_files; " + rule, "1"},
      {"--across", role_name("a4"), " IN ROLE " + files,
       "role " + role_name("a4") + " is a member of pg_write_server_files; " + rule, "1"},
      {"--in-project", role_name("i6"), "; GRANT " + granted + " TO " + role_name("i6") + " WITH ADMIN OPTION",
       "role " + role_name("i6") + " has ADMIN OPTION on " + granted + "; " + rule, "1"},
      {"--across", role_name("a5"), " IN ROLE " + lead,
       "role " + role_name("a5") + " is a member of " + lead + ", which has ADMIN OPTION on " + granted + "; " + rule,
       "1"},
      {"--in-project", role_name("i7"),
       " NOINHERIT; CREATE ROLE " + across + "; GRANT " + across + " TO " + role_name("i7"),
       "role " + role_name("i7") + " is a member of " + across +
           "; the in-project role must be a member neither of the across-projects role " + across +
           " nor of qv_across_projects, which see every project",
       "1"},
      {"--in-project", role_name("i8"), " NOINHERIT IN ROLE " + middle,
       "role " + role_name("i8") +
           " is a member of qv_across_projects; the in-project role must be a member "
           "neither of the across-projects role " +
           across + " nor of qv_across_projects, which see every project",
       "1"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.refusal);
    run("CREATE ROLE " + test_case.role + test_case.setup);
    const std::string before = test_roles();
    Finished refused = host(provision_args_with(test_case.option, test_case.role));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(kStatementFailed + test_case.refusal + "\\n"));
    EXPECT_EQ(test_roles(), before);
    EXPECT_EQ(home_schemas(), "0");
    EXPECT_EQ(value("SELECT count(*) FROM pg_auth_members WHERE '" + test_case.role + "'::regrole IN (member, roleid)"),
              test_case.memberships);
  }
  // Roles that provisioning created itself pass: a sound provisioning runs, and runs again.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Finished provisioned = host(provision_args(conninfo()));
    EXPECT_EQ(provisioned.status, 0) << provisioned.err;
  }
  EXPECT_EQ(value("SELECT pg_has_role('" + owner() + "', '" + across + "', 'MEMBER')"), "t");
}

// CREATE SCHEMA IF NOT EXISTS would adopt the schema, and its owner could
// later drop or replace any table of it.
TEST_F(Provisioning, AHomeSchemaOfAnotherRoleIsRefused) {
  const std::string other = role_name("other");
  run("CREATE ROLE " + other + "; CREATE SCHEMA qv_apiserver AUTHORIZATION " + other);
  const std::string rule = "; the home schema must be new, or belong to the owner " + owner() +
                           ", to this administrator or to a superuser\\n";
  Finished foreign = host(provision_args(conninfo()));
  EXPECT_EQ(foreign.status, 1);
  EXPECT_THAT(foreign.err, testing::StartsWith(kStatementFailed + "schema qv_apiserver already exists and belongs to " +
                                               other + rule));
  Finished in_public = host(provision_args_with("--schema", "public"));
  EXPECT_EQ(in_public.status, 1);
  EXPECT_THAT(
      in_public.err,
      testing::StartsWith(kStatementFailed + "schema public already exists and belongs to pg_database_owner" + rule));
  EXPECT_EQ(test_roles(), other);
  EXPECT_EQ(value("SELECT nspowner::regrole::text FROM pg_namespace WHERE nspname = 'qv_apiserver'"), other);

  // A schema that the administrator, or a superuser, prepared is taken.
  run("DROP SCHEMA qv_apiserver");
  const std::string admin = administrator("admin", "CREATEROLE");
  {
    connection::Connection as_admin = connection::connect(admin).value();
    ASSERT_TRUE(as_admin.execute_script("CREATE SCHEMA qv_apiserver"));
  }
  Finished prepared = host(provision_args(admin));
  EXPECT_EQ(prepared.status, 0) << prepared.err;
  run("DROP SCHEMA qv_apiserver; CREATE SCHEMA qv_apiserver");
  Finished by_superuser = host(provision_args(admin));
  EXPECT_EQ(by_superuser.status, 0) << by_superuser.err;
}

// The administrator's sessions search the home schema, where the owner may
// create functions. None of them may run in place of pg_catalog's: as the
// administrator they could take its powers, and in the check they could
// hide a role layout that sees every project.
TEST_F(Provisioning, FunctionsPlantedInTheHomeSchemaAreNeverCalled) {
  Finished provisioned = host(provision_args(conninfo()));
  ASSERT_EQ(provisioned.status, 0) << provisioned.err;
  {
    connection::Connection as_owner =
        connection::connect(conninfo_with({{"user", owner()}, {"password", "owner pw"}})).value();
    const std::string record = "INSERT INTO qv_apiserver.planted_calls VALUES (";
    auto planted = as_owner.execute_script(
        "CREATE TABLE qv_apiserver.planted_calls (function text, caller name); "
        "GRANT USAGE ON SCHEMA qv_apiserver TO PUBLIC; GRANT INSERT ON qv_apiserver.planted_calls TO PUBLIC; "
        "CREATE FUNCTION qv_apiserver.pg_has_role(text, oid, text) RETURNS boolean LANGUAGE sql AS $$ " +
        record + "'pg_has_role(text, oid, text)', current_user); SELECT false $$; " +
        "CREATE FUNCTION qv_apiserver.pg_has_role(text, text, text) RETURNS boolean LANGUAGE sql AS $$ " + record +
        "'pg_has_role(text, text, text)', current_user); SELECT false $$; " +
        "CREATE FUNCTION qv_apiserver.format(text, text, text) RETURNS text LANGUAGE sql AS $$ " + record +
        "'format(text, text, text)', current_user); SELECT pg_catalog.format($1, $2, $3) $$; " +
        "CREATE FUNCTION qv_apiserver.hashtextextended(text, integer) RETURNS bigint LANGUAGE sql AS $$ " + record +
        "'hashtextextended(text, integer)', current_user); SELECT pg_catalog.hashtextextended($1, $2) $$");
    ASSERT_TRUE(planted) << connection::describe(planted.error());
  }
  // The calls recorded since the last look, which forgets them.
  const std::string calls =
      "WITH taken AS (DELETE FROM qv_apiserver.planted_calls RETURNING *) "
      "SELECT coalesce(string_agg(function || ' by ' || caller, ', '), 'none') FROM taken";

  // A planted pg_has_role that answers false would hide a role with BYPASSRLS.
  run("ALTER ROLE " + roles().in_project() + " BYPASSRLS");
  Finished refused = host(provision_args(conninfo()));
  EXPECT_THAT(refused.err, testing::StartsWith(kStatementFailed + "role " + roles().in_project() + " has BYPASSRLS"));
  run("ALTER ROLE " + roles().in_project() + " NOBYPASSRLS");

  Finished again = host(provision_args(conninfo()));
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(value(calls), "none");
  Finished upgraded = host(upgrade_args(conninfo()));
  EXPECT_EQ(upgraded.status, 0) << upgraded.err;
  EXPECT_EQ(value(calls), "none");

  // The check sees the in-project role's membership of qv_across_projects.
  const std::string login = serving_login();
  const std::vector<std::string> check = {"check",        "--serving",         login, "--schema", "qv_apiserver",
                                          "--in-project", roles().in_project()};
  EXPECT_EQ(host(check).out, "{\"ok\":true}\n");
  run("GRANT qv_across_projects TO " + roles().in_project());
  EXPECT_EQ(host(check).err,
            "{\"error\":{\"code\":5050,\"message\":\"The in-project role is a member of 'qv_across_projects'\"}}\n");
  EXPECT_EQ(value(calls), "none");
}

}  // namespace
