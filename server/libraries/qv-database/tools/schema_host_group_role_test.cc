// What an existing qv_across_projects may hold. That role is the cluster's:
// the owner and the across-projects role of every deployment are members of
// it, so each case changes it for every test on the server. These tests run
// alone (RUN_SERIAL) and put the role back after each case and at the end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "schema_host_fixture.h"

namespace {

using schema_host_test::Finished;
using schema_host_test::kStatementFailed;

class AcrossProjectsGroup : public schema_host_test::SchemaHostFixture {
 protected:
  void SetUp() override {
    SchemaHostFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run("DO $$ BEGIN CREATE ROLE qv_across_projects NOBYPASSRLS NOLOGIN; "
        "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$");
  }
  // Whatever a case left: the attributes, the grants on shared objects and
  // the database it owns. (What it holds in the test database goes with it.)
  void TearDown() override {
    if (!IsSkipped()) {
      auto server = connection::connect(server_conninfo());
      EXPECT_TRUE(server &&
                  server->execute_script("ALTER ROLE qv_across_projects NOLOGIN NOCREATEDB; "
                                         "REVOKE ALL ON PARAMETER log_statement, work_mem FROM qv_across_projects"));
      EXPECT_TRUE(server && server->execute_script("DROP DATABASE IF EXISTS " + owned() + " WITH (FORCE)"));
    }
    SchemaHostFixture::TearDown();
  }
  std::string owned() const { return database_name() + "_owned"; }
};

TEST_F(AcrossProjectsGroup, AnythingBeyondItsPoliciesAndDatabaseAccessIsRefusedAndNothingIsCreated) {
  {
    auto server = connection::connect(server_conninfo());
    ASSERT_TRUE(server && server->execute_script("CREATE DATABASE " + owned()));
  }
  run("CREATE TABLE public.payroll (salary int)");
  const std::string database = database_name();
  const std::string powers =
      "; a row-level-security role must not have LOGIN, nor hold, directly or through a role it is a member of, any "
      "of SUPERUSER, BYPASSRLS, CREATEROLE, CREATEDB, REPLICATION and ADMIN OPTION, nor be a member of "
      "pg_execute_server_program, pg_read_server_files or pg_write_server_files\\n";
  const std::string holdings =
      "; the group role qv_across_projects, which the policies of every deployment name and whose privileges the "
      "owner and the across-projects logins of every deployment hold, may be named in policies and hold CONNECT and "
      "TEMPORARY on databases, and nothing else\\n";
  struct {
    std::string change;
    std::string undo;
    std::string refusal;
  } cases[] = {
      {"ALTER ROLE qv_across_projects LOGIN", "ALTER ROLE qv_across_projects NOLOGIN", "has LOGIN" + powers},
      {"ALTER ROLE qv_across_projects CREATEDB", "ALTER ROLE qv_across_projects NOCREATEDB", "has CREATEDB" + powers},
      {"GRANT SELECT ON public.payroll TO qv_across_projects",
       "REVOKE SELECT ON public.payroll FROM qv_across_projects",
       "holds a privilege on table public.payroll" + holdings},
      {"GRANT EXECUTE ON FUNCTION pg_read_file(text) TO qv_across_projects",
       "REVOKE EXECUTE ON FUNCTION pg_read_file(text) FROM qv_across_projects",
       "holds a privilege on function pg_read_file(text)" + holdings},
      {"GRANT SET ON PARAMETER log_statement TO qv_across_projects",
       "REVOKE SET ON PARAMETER log_statement FROM qv_across_projects",
       "holds a privilege on parameter log_statement" + holdings},
      {"GRANT ALTER SYSTEM ON PARAMETER work_mem TO qv_across_projects",
       "REVOKE ALTER SYSTEM ON PARAMETER work_mem FROM qv_across_projects",
       "holds a privilege on parameter work_mem" + holdings},
      {"ALTER DATABASE " + owned() + " OWNER TO qv_across_projects",
       "ALTER DATABASE " + owned() + " OWNER TO CURRENT_USER", "owns database " + owned() + holdings},
      {"GRANT CREATE ON DATABASE " + database + " TO qv_across_projects",
       "REVOKE CREATE ON DATABASE " + database + " FROM qv_across_projects",
       "holds a privilege on database " + database + holdings},
  };
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.change);
    run(test_case.change);
    Finished refused = host(provision_args(conninfo()));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, testing::StartsWith(kStatementFailed + "role qv_across_projects " + test_case.refusal));
    EXPECT_EQ(test_roles(), "none");
    EXPECT_EQ(home_schemas(), "0");
    run(test_case.undo);
  }
  // CONNECT and TEMPORARY, and the policies of an installed deployment, pass.
  run("GRANT CONNECT, TEMPORARY ON DATABASE " + database + " TO qv_across_projects");
  for (const auto& arguments : {provision_args(conninfo()), upgrade_args(conninfo()), provision_args(conninfo())}) {
    Finished done = host(arguments);
    EXPECT_EQ(done.status, 0) << arguments.front() << ": " << done.err;
  }
}

}  // namespace
