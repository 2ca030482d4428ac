// Deployments beside each other on one cluster, in two schemas of one
// database or in two databases: roles are the cluster's, so provisioning and
// the upgrade refuse row-level-security roles that already serve another
// deployment, whose rows the owner and the serving logins would reach.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schema_host_fixture.h"

namespace {

using schema_host_test::Finished;
using schema_host_test::kStatementFailed;

const std::string kInstalled = "{\"ok\":true,\"plan\":\"Install\",\"version\":13}\n";

// The refusal of `role`, which already serves the deployment at `place`,
// for the deployment whose home schema is `schema`.
std::string serves_another(const std::string& role, const std::string& place, const std::string& schema) {
  return kStatementFailed + "role " + role + " already serves another deployment: it " + place +
         "; an existing in-project or across-projects role may own, hold privileges on and be named in policies of "
         "objects of the home schema " +
         schema +
         " of this database alone, hold nothing but CONNECT and TEMPORARY on this database, and have no direct member "
         "that owns another schema\\n";
}

// A second database of this test, dropped before the test's roles are.
class ProvisioningBesideOtherDeployments : public schema_host_test::SchemaHostFixture {
 protected:
  void TearDown() override {
    if (!other_.empty()) {
      auto server = connection::connect(server_conninfo());
      EXPECT_TRUE(server && server->execute_script("DROP DATABASE IF EXISTS " + other_ + " WITH (FORCE)"));
    }
    SchemaHostFixture::TearDown();
  }
  // Creates the database; its connection string as the superuser.
  std::string other_database() {
    other_ = database_name() + "_other";
    auto server = connection::connect(server_conninfo());
    EXPECT_TRUE(server && server->execute_script("CREATE DATABASE " + other_));
    return conninfo_with({{"dbname", other_}});
  }

  // The layout that provisioning by an older build left for a deployment in
  // `schema` of `database` with this test's RLS roles: `owner` owns the
  // schema and is a member of both roles.
  void provisioned_by_an_older_build(const std::string& database, const std::string& schema, const std::string& owner) {
    run("CREATE ROLE " + owner + " LOGIN PASSWORD 'older pw'; GRANT " + roles().in_project() + ", " +
        roles().across_projects() + " TO " + owner);
    auto there = connection::connect(database);
    EXPECT_TRUE(there && there->execute_script("CREATE SCHEMA " + schema + " AUTHORIZATION " + owner));
  }
  // Undoes that layout.
  void remove_older_build(const std::string& database, const std::string& schema, const std::string& owner) {
    auto there = connection::connect(database);
    EXPECT_TRUE(there && there->execute_script("DROP SCHEMA " + schema));
    run("DROP ROLE " + owner);
  }
  // What `schema` of `database` holds, and whether the in-project role may use it.
  std::string relations_and_usage(const std::string& database, const std::string& schema) {
    connection::Connection there = connection::connect(database).value();
    return test_support::query_value(
        there, "SELECT count(*) || ' relations, USAGE ' || has_schema_privilege('" + roles().in_project() + "', '" +
                   schema + "', 'USAGE') FROM pg_class WHERE relnamespace = '" + schema + "'::regnamespace");
  }

  std::string other_;
};

// Roles are the cluster's. RLS roles that another deployment's objects use,
// in another schema or another database, would give this deployment's owner
// and logins that deployment's rows, and as this across-projects role would
// give that deployment's logins every project.
TEST_F(ProvisioningBesideOtherDeployments, RolesThatServeAnotherDeploymentAreRefused) {
  ASSERT_NO_FATAL_FAILURE(deploy(conninfo(), "qv_other", "n"));
  const std::string other = other_database();
  ASSERT_NO_FATAL_FAILURE(deploy(other, "qv_apiserver", "o"));
  const std::string in_other_schema = "holds a privilege on schema qv_other";
  const std::string in_other_database = "holds a privilege on an object of database " + other_;
  struct {
    std::string option;
    std::string role;
    std::string place;
  } cases[] = {
      {"--in-project", role_name("n_in"), in_other_schema},   {"--across", role_name("n_across"), in_other_schema},
      {"--across", role_name("n_in"), in_other_schema},       {"--in-project", role_name("o_in"), in_other_database},
      {"--across", role_name("o_across"), in_other_database},
  };
  const std::string before = test_roles();
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.option + " " + test_case.role);
    Finished refused = host(provision_args_with(test_case.option, test_case.role));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(serves_another(test_case.role, test_case.place, "qv_apiserver")));
    EXPECT_EQ(test_roles(), before);
    EXPECT_EQ(home_schemas(), "0");
  }
  EXPECT_EQ(value("SELECT pg_has_role('" + role_name("n_in") + "', 'qv_across_projects', 'MEMBER')"), "f");
  // qv_across_projects, which the policies of every deployment name, is shared by design.
  Finished own = host(provision_args(conninfo()));
  EXPECT_EQ(own.status, 0) << own.err;
}

// Provisioning makes the owner a member of the RLS roles, and roles hold
// nothing until an upgrade grants them the tables: a member that owns
// another schema, here or in another database, is another deployment's
// owner. A second deployment with the same roles is refused at
// provisioning, and one that an older build provisioned so refuses the
// upgrade of either before anything is granted.
TEST_F(ProvisioningBesideOtherDeployments, ADeploymentsOwnerAmongTheMembersOfTheRolesIsRefused) {
  const std::string other = other_database();
  Finished first = host(provision_args(conninfo()));
  ASSERT_EQ(first.status, 0) << first.err;
  const std::string in_project = roles().in_project();
  const std::string owner_here = "has the member " + owner() + ", which owns ";
  struct {
    std::string place;
    std::vector<std::string> arguments;
    std::string refusal;
  } provisionings[] = {
      {"another schema", with_option(provision_args_with("--schema", "qv_second"), "--owner", role_name("second")),
       serves_another(in_project, owner_here + "schema qv_apiserver", "qv_second")},
      {"another database", with_option(provision_args(other), "--owner", role_name("second")),
       serves_another(in_project, owner_here + "a schema of database " + database_name(), "qv_apiserver")},
  };
  const std::string before = test_roles();
  for (const auto& test_case : provisionings) {
    SCOPED_TRACE(test_case.place);
    Finished refused = host(test_case.arguments);
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(test_case.refusal));
    EXPECT_EQ(test_roles(), before);
  }
  EXPECT_EQ(value("SELECT count(*) FROM pg_namespace WHERE nspname = 'qv_second'"), "0");

  const std::string older = role_name("older_owner");
  struct {
    std::string place;
    std::string database;
    std::string schema;
    std::string owns;
  } layouts[] = {
      {"another schema", conninfo(), "qv_second", "schema qv_second"},
      {"another database", other, "qv_older", "a schema of database " + other_},
  };
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.place);
    provisioned_by_an_older_build(layout.database, layout.schema, older);
    Finished refused = host(upgrade_args(conninfo()));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err,
                testing::StartsWith(serves_another(
                    in_project, "has the member " + older + ", which owns " + layout.owns, "qv_apiserver")));
    EXPECT_EQ(relations_and_usage(conninfo(), "qv_apiserver"), "0 relations, USAGE false");
    remove_older_build(layout.database, layout.schema, older);
  }
  // The deployment's own owner owns the home schema alone, and a serving
  // login owns no schema: both are members that pass.
  const std::string login = serving_login();
  EXPECT_EQ(host(upgrade_args(conninfo())).out, kInstalled);
  EXPECT_EQ(host({"check", "--serving", login, "--schema", "qv_apiserver", "--in-project", in_project}).out,
            "{\"ok\":true}\n");
  EXPECT_EQ(host(provision_args(conninfo())).out, "{\"ok\":true}\n");
}

// Roles hold nothing until an upgrade grants them the tables, so
// deployments that an older build provisioned with the same RLS roles exist;
// once the first is installed, the upgrade of every other refuses them
// before it grants them anything.
TEST_F(ProvisioningBesideOtherDeployments, OfDeploymentsProvisionedWithTheSameRolesOnlyTheFirstInstalls) {
  const std::string other = other_database();
  ASSERT_EQ(host(provision_args(conninfo())).out, "{\"ok\":true}\n");
  ASSERT_EQ(host(upgrade_args(conninfo())).out, kInstalled);
  const std::string second_owner = role_name("second_owner");
  const std::string other_owner = role_name("other_owner");
  provisioned_by_an_older_build(conninfo(), "qv_second", second_owner);

  const std::string in_project = roles().in_project();
  struct {
    std::string database;
    std::string schema;
    std::string owner;
    std::string place;
  } cases[] = {
      {conninfo(), "qv_second", second_owner, "holds a privilege on schema qv_apiserver"},
      {other, "qv_apiserver", other_owner, "holds a privilege on an object of database " + database_name()},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.schema + " of " + test_case.database);
    if (test_case.database == other) {
      remove_older_build(conninfo(), "qv_second", second_owner);
      provisioned_by_an_older_build(other, "qv_apiserver", other_owner);
    }
    Finished refused = host(with_option(upgrade_args(test_case.database), "--schema", test_case.schema));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(serves_another(in_project, test_case.place, test_case.schema)));
    EXPECT_EQ(relations_and_usage(test_case.database, test_case.schema), "0 relations, USAGE false");
  }
  remove_older_build(other, "qv_apiserver", other_owner);
  // The first deployment's own grants do not count: it provisions and upgrades again.
  EXPECT_EQ(host(provision_args(conninfo())).out, "{\"ok\":true}\n");
  EXPECT_EQ(host(upgrade_args(conninfo())).out, "{\"ok\":true,\"plan\":\"UpToDate\"}\n");
}

// A configuration copied from another deployment hands the upgrade that
// deployment's roles: granting them this deployment's tables would give its
// serving logins these rows. With roles of its own it installs beside it.
TEST_F(ProvisioningBesideOtherDeployments, AnUpgradeWithAnotherDeploymentsRolesIsRefusedAndItsOwnInstallBeside) {
  ASSERT_NO_FATAL_FAILURE(deploy(conninfo(), "qv_other", "n"));
  Finished provisioned = host(provision_args(conninfo()));
  ASSERT_EQ(provisioned.status, 0) << provisioned.err;
  for (const auto& [option, role] :
       {std::pair{"--in-project", role_name("n_in")}, std::pair{"--across", role_name("n_across")}}) {
    SCOPED_TRACE(option);
    Finished refused = host(with_option(upgrade_args(conninfo()), option, role));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err,
                testing::StartsWith(serves_another(role, "holds a privilege on schema qv_other", "qv_apiserver")));
    EXPECT_EQ(value("SELECT count(*) || ' relations, USAGE ' || has_schema_privilege('" + role +
                    "', 'qv_apiserver', 'USAGE') FROM pg_class WHERE relnamespace = 'qv_apiserver'::regnamespace"),
              "0 relations, USAGE false");
  }
  EXPECT_EQ(host(upgrade_args(conninfo())).out, kInstalled);
  const std::string login = serving_login();
  EXPECT_EQ(host({"check", "--serving", login, "--schema", "qv_apiserver", "--in-project", roles().in_project()}).out,
            "{\"ok\":true}\n");
  run("CREATE ROLE " + role_name("n_api") + " LOGIN PASSWORD 'api pw' IN ROLE " + role_name("n_in"));
  const std::string other_login = conninfo_with({{"user", role_name("n_api")}, {"password", "api pw"}});
  EXPECT_EQ(host({"check", "--serving", other_login, "--schema", "qv_other", "--in-project", role_name("n_in")}).out,
            "{\"ok\":true}\n");
}

}  // namespace
