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
using schema_host_test::Host;
using schema_host_test::kStatementFailed;

class Provisioning : public schema_host_test::SchemaHostFixture {
 protected:
  std::string schema_rule() const {
    return "the home schema must be new, or it and its objects must belong to, and CREATE on it be held only by, "
           "the owner " +
           owner() + ", a role that is a member of it, this administrator or a superuser";
  }
  // What an existing RLS role may not hold or belong to.
  static std::string powers_rule() {
    return "a row-level-security role must not have LOGIN, nor hold, directly or through a role it is a member of, "
           "any of SUPERUSER, BYPASSRLS, CREATEROLE, CREATEDB, REPLICATION and ADMIN OPTION, nor be a member of "
           "pg_execute_server_program, pg_read_server_files or pg_write_server_files";
  }
  static std::string memberships_rule(const std::string& across_role) {
    return "a row-level-security role must be a member of no role but, for the across-projects role " + across_role +
           ", qv_across_projects";
  }
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

// A configuration that names other roles than provisioning did reaches the
// upgrade alone: it refuses what provisioning refuses before it grants the
// roles anything.
TEST_F(Provisioning, TheUpgradeRefusesTheRolesThatProvisioningRefuses) {
  Finished provisioned = host(provision_args(conninfo()));
  ASSERT_EQ(provisioned.status, 0) << provisioned.err;
  const std::string across = roles().across_projects();
  struct {
    std::string option;
    std::string role;
    std::string attributes;
    std::string refusal;
  } cases[] = {
      {"--across", role_name("mallory"), "LOGIN PASSWORD 'known'",
       "role " + role_name("mallory") + " has LOGIN; " + powers_rule()},
      {"--in-project", role_name("creator"), "CREATEDB",
       "role " + role_name("creator") + " has CREATEDB; " + powers_rule()},
      {"--across", role_name("reader"), "IN ROLE pg_read_server_files",
       "role " + role_name("reader") + " is a member of pg_read_server_files; " + powers_rule()},
      {"--in-project", role_name("everything"), "IN ROLE pg_read_all_data",
       "role " + role_name("everything") + " is a member of pg_read_all_data; " + memberships_rule(across)},
      {"--in-project", role_name("grouped"), "IN ROLE qv_across_projects",
       "role " + role_name("grouped") + " is a member of qv_across_projects; " + memberships_rule(across)},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.role);
    run("CREATE ROLE " + test_case.role + " " + test_case.attributes);
    Finished refused = host(with_option(upgrade_args(conninfo()), test_case.option, test_case.role));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(kStatementFailed + test_case.refusal + "\\n"));
    // (A member of pg_read_all_data has USAGE on every schema: the schema's own grants are looked at.)
    EXPECT_EQ(value("SELECT count(*) || ' relations, USAGE ' || EXISTS (SELECT FROM pg_namespace n CROSS JOIN "
                    "aclexplode(n.nspacl) a WHERE n.nspname = 'qv_apiserver' AND a.grantee = '" +
                    test_case.role + "'::regrole) FROM pg_class WHERE relnamespace = 'qv_apiserver'::regnamespace"),
              "0 relations, USAGE false");
  }
  EXPECT_EQ(host(upgrade_args(conninfo())).out, "{\"ok\":true,\"plan\":\"Install\",\"version\":13}\n");
}

// The owner becomes a member of both RLS roles and the serving logins of the
// in-project role, so neither may carry, or reach by SET ROLE, powers beyond
// row-level security, nor belong to any role but, for the across-projects
// role, qv_across_projects.
TEST_F(Provisioning, ExistingRolesWithPowersOrMembershipsAreRefusedAndNothingIsCreated) {
  const std::string rule = powers_rule();
  const std::string across = roles().across_projects();
  const auto memberships = memberships_rule;
  const std::string payroll = role_name("payroll");
  const std::string granted = role_name("granted");
  const std::string lead = role_name("lead");
  const std::string files = role_name("files");
  const std::string replicator = role_name("replicator");
  const std::string creator = role_name("creator");
  const std::string super = role_name("super");
  const std::string middle = role_name("middle");
  run("CREATE ROLE " + super + " SUPERUSER NOLOGIN; CREATE ROLE " + granted + "; CREATE ROLE " + lead + "; GRANT " +
      granted + " TO " + lead + " WITH ADMIN OPTION; CREATE ROLE " + files +
      " IN ROLE pg_write_server_files; CREATE ROLE " + replicator + " REPLICATION NOLOGIN; CREATE ROLE " + creator +
      " CREATEDB NOLOGIN");
  run("DO $$ BEGIN CREATE ROLE qv_across_projects NOBYPASSRLS NOLOGIN; "
      "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$; "
      "CREATE ROLE " +
      middle + " IN ROLE qv_across_projects");
  run("CREATE TABLE public.payroll (salary int); CREATE ROLE " + payroll + "; GRANT SELECT ON public.payroll TO " +
      payroll);
  struct {
    std::string option;
    std::string role;
    std::string setup;  // after CREATE ROLE <role>
    std::string refusal;
    std::string memberships;
  } cases[] = {
      {"--in-project", role_name("i1"), " SUPERUSER", "role " + role_name("i1") + " has SUPERUSER; " + rule, "0"},
      {"--across", role_name("a1"), " LOGIN BYPASSRLS", "role " + role_name("a1") + " has LOGIN, BYPASSRLS; " + rule,
       "0"},
      {"--in-project", role_name("i11"), " LOGIN PASSWORD 'known'", "role " + role_name("i11") + " has LOGIN; " + rule,
       "0"},
      {"--across", role_name("a9"), " LOGIN", "role " + role_name("a9") + " has LOGIN; " + rule, "0"},
      {"--in-project", role_name("i12"), " CREATEDB", "role " + role_name("i12") + " has CREATEDB; " + rule, "0"},
      {"--across", role_name("a10"), " NOINHERIT IN ROLE " + creator,
       "role " + role_name("a10") + " is a member of " + creator + ", which has CREATEDB; " + rule, "1"},
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
       "role " + role_name("i7") + " is a member of " + across + "; " + memberships(across), "1"},
      {"--in-project", role_name("i8"), " NOINHERIT IN ROLE " + middle,
       "role " + role_name("i8") + " is a member of " + middle + "; " + memberships(across), "1"},
      {"--in-project", role_name("i9"), " IN ROLE qv_across_projects",
       "role " + role_name("i9") + " is a member of qv_across_projects; " + memberships(across), "1"},
      {"--in-project", role_name("i10"), " IN ROLE pg_read_all_data",
       "role " + role_name("i10") + " is a member of pg_read_all_data; " + memberships(across), "1"},
      {"--across", role_name("a6"), " IN ROLE pg_write_all_data",
       "role " + role_name("a6") + " is a member of pg_write_all_data; " + memberships(role_name("a6")), "1"},
      {"--across", role_name("a7"), " IN ROLE " + payroll,
       "role " + role_name("a7") + " is a member of " + payroll + "; " + memberships(role_name("a7")), "1"},
      {"--across", role_name("a8"), " IN ROLE qv_across_projects, pg_monitor",
       "role " + role_name("a8") + " is a member of pg_monitor; " + memberships(role_name("a8")), "2"},
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
  const std::string rule = "; " + schema_rule() + "\\n";
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

// A schema that a superuser prepared is adopted with what is in it: a role
// that owns its objects, or may create them, could leave tables that the
// upgrade takes as its own, or read what the application writes.
TEST_F(Provisioning, ObjectsAndCreateOfAnotherRoleInAPreparedSchemaAreRefused) {
  const std::string developer = role_name("developer");
  run("CREATE ROLE " + developer);
  const std::string as_developer =
      "GRANT USAGE, CREATE ON SCHEMA qv_apiserver TO " + developer + "; SET ROLE " + developer + "; ";
  struct {
    std::string setup;
    std::string refusal;
  } cases[] = {
      {as_developer + "CREATE TABLE qv_apiserver.quorvale_system (name text, value text); "
                      "INSERT INTO qv_apiserver.quorvale_system VALUES ('db_version', '13'); "
                      "CREATE TABLE qv_apiserver.groups (id text); RESET ROLE",
       "holds table qv_apiserver.groups, which belongs to " + developer},
      {as_developer + "CREATE FUNCTION qv_apiserver.planted() RETURNS int LANGUAGE sql AS 'SELECT 1'; RESET ROLE; " +
           "REVOKE CREATE ON SCHEMA qv_apiserver FROM " + developer,
       "holds function qv_apiserver.planted(), which belongs to " + developer},
      {"GRANT CREATE ON SCHEMA qv_apiserver TO " + developer, "grants CREATE to " + developer},
      {"GRANT CREATE ON SCHEMA qv_apiserver TO PUBLIC", "grants CREATE to PUBLIC"},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.refusal);
    run("DROP SCHEMA IF EXISTS qv_apiserver CASCADE; CREATE SCHEMA qv_apiserver; " + test_case.setup);
    const std::string schema_owner = "SELECT nspowner::regrole::text FROM pg_namespace WHERE nspname = 'qv_apiserver'";
    const std::string before = value(schema_owner);
    Finished refused = host(provision_args(conninfo()));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(kStatementFailed + "schema qv_apiserver " + test_case.refusal + "; " +
                                                 schema_rule() + "\\n"));
    EXPECT_EQ(test_roles(), developer);
    EXPECT_EQ(value(schema_owner), before);
  }
}

// Every session of a role searches the schema of its name first ("$user"):
// a home schema named after a role hands that role's sessions, a
// superuser's among them, the owner's functions.
TEST_F(Provisioning, AHomeSchemaNamedAfterAnotherRoleIsRefusedBeforeAnythingIsCreated) {
  const std::string named = role_name("named");
  run("CREATE ROLE " + named);
  const std::string superuser = value("SELECT current_user");
  for (const std::string& schema : {named, superuser}) {
    SCOPED_TRACE(schema);
    Finished refused = host(provision_args_with("--schema", schema));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(
        refused.err,
        testing::StartsWith(kStatementFailed + "schema " + schema + " has the name of the existing role " + schema +
                            ", whose sessions search the schema of their own name first; the home schema "
                            "may share its name only with the owner " +
                            owner() + " or a row-level-security role (" + roles().in_project() + " or " +
                            roles().across_projects() + ")\\n"));
    EXPECT_EQ(test_roles(), named);
    EXPECT_EQ(value("SELECT count(*) FROM pg_namespace WHERE nspname = '" + schema + "'"), "0");
  }
  const std::string own_schema = "; name a schema of its own\"}}\n";
  EXPECT_EQ(host(provision_args_with("--schema", "information_schema")).err,
            "{\"error\":{\"message\":\"schema: 'information_schema' belongs to PostgreSQL" + own_schema);
  EXPECT_EQ(host(provision_args_with("--schema", "qv_across_projects")).err,
            "{\"error\":{\"message\":\"schema: 'qv_across_projects' is the name of the cross-project group role, "
            "whose sessions would search this schema first" +
                own_schema);
  EXPECT_EQ(test_roles(), named);
  // The deployment's own roles search the home schema anyway: a schema named
  // after its owner provisions, and provisions again once the owner exists.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Finished provisioned = host(provision_args_with("--schema", owner()));
    EXPECT_EQ(provisioned.status, 0) << provisioned.err;
  }
}

// A role that holds USAGE on the home schema, or that default privileges
// grant the tables the upgrade creates, reads and rewrites every project.
TEST_F(Provisioning, APreparedHomeSchemaThatReachesARoleOutsideTheDeploymentIsRefused) {
  const std::string outsider = role_name("outsider");
  const std::string unrelated = role_name("unrelated");
  const std::string superuser = value("SELECT current_user");
  const std::string in_project = roles().in_project();
  const std::string across = roles().across_projects();
  run("CREATE ROLE " + outsider + "; CREATE ROLE " + unrelated + "; CREATE ROLE " + owner() +
      " LOGIN; CREATE SCHEMA qv_apiserver; CREATE ROLE " + in_project + "; CREATE ROLE " + across);
  const std::string rule =
      "; nothing of the home schema may reach a role outside the deployment: USAGE on it, and the default privileges "
      "on tables, sequences and schemas in it or of the owner " +
      owner() +
      " and this administrator, may go only to the owner, a role that is a member of it, this administrator, a "
      "superuser and the row-level-security roles " +
      in_project + " and " + across +
      ", and to these two only as SELECT, INSERT, UPDATE and DELETE on tables and USAGE, SELECT and UPDATE on "
      "sequences\\n";
  const std::string defaults = "ALTER DEFAULT PRIVILEGES ";
  struct {
    std::string grant;
    std::string revoke;
    std::string refusal;
  } cases[] = {
      {"GRANT USAGE ON SCHEMA qv_apiserver TO " + outsider, "REVOKE USAGE ON SCHEMA qv_apiserver FROM " + outsider,
       "grants USAGE to " + outsider},
      {"GRANT USAGE ON SCHEMA qv_apiserver TO PUBLIC", "REVOKE USAGE ON SCHEMA qv_apiserver FROM PUBLIC",
       "grants USAGE to PUBLIC"},
      {defaults + "IN SCHEMA qv_apiserver GRANT SELECT ON TABLES TO " + outsider,
       defaults + "IN SCHEMA qv_apiserver REVOKE SELECT ON TABLES FROM " + outsider,
       ": the default privileges of " + superuser + " in it grant SELECT on new tables to " + outsider},
      {defaults + "FOR ROLE " + unrelated + " IN SCHEMA qv_apiserver GRANT UPDATE, SELECT ON SEQUENCES TO PUBLIC",
       defaults + "FOR ROLE " + unrelated + " IN SCHEMA qv_apiserver REVOKE UPDATE, SELECT ON SEQUENCES FROM PUBLIC",
       ": the default privileges of " + unrelated + " in it grant SELECT, UPDATE on new sequences to PUBLIC"},
      {defaults + "GRANT SELECT ON TABLES TO " + outsider, defaults + "REVOKE SELECT ON TABLES FROM " + outsider,
       ": the default privileges of " + superuser + " in the whole database grant SELECT on new tables to " + outsider},
      {defaults + "FOR ROLE " + owner() + " GRANT INSERT ON TABLES TO PUBLIC",
       defaults + "FOR ROLE " + owner() + " REVOKE INSERT ON TABLES FROM PUBLIC",
       ": the default privileges of " + owner() + " in the whole database grant INSERT on new tables to PUBLIC"},
      {defaults + "FOR ROLE " + owner() + " GRANT USAGE ON SCHEMAS TO " + outsider,
       defaults + "FOR ROLE " + owner() + " REVOKE USAGE ON SCHEMAS FROM " + outsider,
       ": the default privileges of " + owner() + " in the whole database grant USAGE on new schemas to " + outsider},
      // TRUNCATE passes row-level security by, and a trigger runs its
      // function as whoever writes next: the RLS roles only read and write rows.
      {defaults + "IN SCHEMA qv_apiserver GRANT TRUNCATE, TRIGGER, SELECT ON TABLES TO " + in_project,
       defaults + "IN SCHEMA qv_apiserver REVOKE TRUNCATE, TRIGGER, SELECT ON TABLES FROM " + in_project,
       ": the default privileges of " + superuser + " in it grant TRIGGER, TRUNCATE on new tables to " + in_project},
      {defaults + "FOR ROLE " + owner() + " IN SCHEMA qv_apiserver GRANT REFERENCES, INSERT ON TABLES TO " + across,
       defaults + "FOR ROLE " + owner() + " IN SCHEMA qv_apiserver REVOKE REFERENCES, INSERT ON TABLES FROM " + across,
       ": the default privileges of " + owner() + " in it grant REFERENCES on new tables to " + across},
  };
  const std::string before = test_roles();
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.grant);
    run(test_case.grant);
    Finished refused = host(provision_args(conninfo()));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err,
                testing::StartsWith(kStatementFailed + "schema qv_apiserver" +
                                    (test_case.refusal.starts_with(":") ? "" : " ") + test_case.refusal + rule));
    EXPECT_EQ(test_roles(), before);
    run(test_case.revoke);
  }
  // Default privileges of a role that creates none of the tables, and on
  // what the upgrade does not create, are no such route.
  // Reading and writing rows, and using sequences, are what the RLS roles
  // are for.
  run(defaults + "FOR ROLE " + unrelated + " GRANT SELECT ON TABLES TO " + outsider + "; " + defaults +
      "IN SCHEMA qv_apiserver GRANT EXECUTE ON FUNCTIONS TO " + outsider + "; " + defaults +
      "IN SCHEMA qv_apiserver GRANT USAGE, SELECT, UPDATE ON SEQUENCES TO " + in_project + "; " + defaults +
      "IN SCHEMA qv_apiserver GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO " + across);
  for (const auto& arguments : {provision_args(conninfo()), upgrade_args(conninfo()), provision_args(conninfo())}) {
    Finished done = host(arguments);
    EXPECT_EQ(done.status, 0) << arguments.front() << ": " << done.err;
  }
}

// CREATE on the database lets every serving login create a schema named
// after the superuser, which that superuser's sessions then search first;
// CONNECT and TEMPORARY give nothing of another role.
TEST_F(Provisioning, AnAdoptedRoleWithAPrivilegeOnThisDatabaseBeyondConnectAndTemporaryIsRefused) {
  const std::string database = database_name();
  for (const std::string privileges : {"CREATE", "ALL"}) {
    SCOPED_TRACE(privileges);
    const std::string adopted = role_name("adopted_" + std::string(privileges == "ALL" ? "all" : "create"));
    run("CREATE ROLE " + adopted + "; GRANT " + privileges + " ON DATABASE " + database + " TO " + adopted);
    const std::string before = test_roles();
    Finished refused = host(provision_args_with("--in-project", adopted));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(kStatementFailed + "role " + adopted +
                                                 " already serves another deployment: it holds a privilege on "
                                                 "database " +
                                                 database + "; "));
    EXPECT_EQ(test_roles(), before);
    EXPECT_EQ(home_schemas(), "0");
  }
  run("CREATE ROLE " + roles().in_project() + "; GRANT CONNECT, TEMPORARY ON DATABASE " + database + " TO " +
      roles().in_project());
  EXPECT_EQ(host(provision_args(conninfo())).out, "{\"ok\":true}\n");
  EXPECT_EQ(host(upgrade_args(conninfo())).out, "{\"ok\":true,\"plan\":\"Install\",\"version\":13}\n");
}

// The layout that a non-superuser administrator prepared, provisioned and
// upgraded is taken again, by that administrator and by a second one that
// the owner is granted to: the first owns the schema and its tables, and is
// a member of the owner.
TEST_F(Provisioning, AnAdministratorsLayoutIsProvisionedAgainByItAndByASecondOne) {
  const std::string first = administrator("first", "CREATEROLE");
  {
    connection::Connection as_first = connection::connect(first).value();
    ASSERT_TRUE(as_first.execute_script("CREATE SCHEMA qv_apiserver"));
  }
  for (const auto& arguments : {provision_args(first), upgrade_args(first), provision_args(first)}) {
    Finished done = host(arguments);
    ASSERT_EQ(done.status, 0) << arguments.front() << ": " << done.err;
  }
  // A privilege on this database itself is no use by another deployment.
  run("GRANT CONNECT, TEMPORARY ON DATABASE " + database_name() + " TO " + roles().in_project());
  const std::string second = administrator("second", "CREATEROLE");
  run("GRANT " + owner() + " TO " + role_name("second"));
  Finished again = host(provision_args(second));
  EXPECT_EQ(again.status, 0) << again.err;
  const std::string login = serving_login();
  EXPECT_EQ(host({"check", "--serving", login, "--schema", "qv_apiserver", "--in-project", roles().in_project()}).out,
            "{\"ok\":true}\n");
}

// A membership of qv_across_projects that a provisioning running beside this
// one grants the in-project role after this one's first look is still
// refused before this one commits.
TEST_F(Provisioning, AMembershipGrantedWhileProvisioningRunsIsRefusedBeforeItCommits) {
  const std::string in_project = roles().in_project();
  run("DO $$ BEGIN CREATE ROLE qv_across_projects NOBYPASSRLS NOLOGIN; "
      "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$; CREATE ROLE " +
      in_project);
  // The owner created in a transaction still open holds the provisioning at
  // its own CREATE ROLE, after the refusals have looked.
  connection::Connection holder = session();
  ASSERT_TRUE(holder.execute_script("BEGIN; CREATE ROLE " + owner()));
  Host provisioning(provision_args(conninfo()), "owner pw");
  ASSERT_TRUE(upgrade_waits()) << "the provisioning never reached the owner role";
  run("GRANT qv_across_projects TO " + in_project);
  ASSERT_TRUE(holder.execute_script("ROLLBACK"));
  Finished refused = provisioning.wait();
  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.err, testing::StartsWith(kStatementFailed + "role " + in_project +
                                               " is a member of qv_across_projects; the in-project role must be a "
                                               "member neither of the across-projects role " +
                                               roles().across_projects() +
                                               " nor of qv_across_projects, which see every project\\n"));
  EXPECT_EQ(test_roles(), in_project);
  EXPECT_EQ(home_schemas(), "0");
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
        "GRANT USAGE ON SCHEMA qv_apiserver TO " +
        roles().in_project() + "; GRANT INSERT ON qv_apiserver.planted_calls TO " + roles().in_project() + "; " +
        "CREATE FUNCTION qv_apiserver.pg_has_role(text, oid, text) RETURNS boolean LANGUAGE sql AS $$ " + record +
        "'pg_has_role(text, oid, text)', current_user); SELECT false $$; " +
        "CREATE FUNCTION qv_apiserver.pg_has_role(text, text, text) RETURNS boolean LANGUAGE sql AS $$ " + record +
        "'pg_has_role(text, text, text)', current_user); SELECT false $$; " +
        "CREATE FUNCTION qv_apiserver.format(text, text, text) RETURNS text LANGUAGE sql AS $$ " + record +
        "'format(text, text, text)', current_user); SELECT pg_catalog.format($1, $2, $3) $$; " +
        "CREATE FUNCTION qv_apiserver.format(text, text, text, text) RETURNS text LANGUAGE sql AS $$ " + record +
        "'format(text, text, text, text)', current_user); SELECT NULL::text $$; " +
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
  run("REVOKE qv_across_projects FROM " + roles().in_project());

  // A planted format that answers NULL would hide a relation that the upgrade must refuse.
  run("GRANT SELECT ON qv_apiserver.planted_calls TO PUBLIC");
  Finished leaking = host(upgrade_args(conninfo()));
  EXPECT_THAT(leaking.err,
              testing::StartsWith(kStatementFailed + "table qv_apiserver.planted_calls grants SELECT to PUBLIC"));
  EXPECT_EQ(value(calls), "none");
}

}  // namespace
