#include "components/provision.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "test_support/schema_fixture.h"

namespace components::provision {
namespace {

using test_support::outcome_text;
using test_support::query_value;

class Provision : public test_support::SchemaFixture {
 protected:
  std::string provision_as(const std::string& login, const std::string& password) {
    auto pool = admin(login);
    return outcome_text(component().provision(pool, request(password)).get());
  }

  bool owner_logs_in_with(const std::string& password) {
    return connection::connect(conninfo_with({{"user", owner()}, {"password", password}})).has_value();
  }

  std::string is_member(const std::string& member, const std::string& role) {
    return value("SELECT pg_has_role('" + member + "', '" + role + "', 'MEMBER')");
  }

  // What provisioning creates, one line each.
  void expect_provisioned() {
    EXPECT_EQ(value("SELECT nspowner::regrole::text FROM pg_namespace WHERE nspname = 'qv_apiserver'"), owner());
    for (const std::string& role :
         {roles().in_project(), roles().across_projects(), std::string("qv_across_projects")}) {
      EXPECT_EQ(value("SELECT rolbypassrls OR rolcanlogin FROM pg_roles WHERE rolname = '" + role + "'"), "f") << role;
    }
    EXPECT_EQ(is_member(owner(), roles().in_project()), "t");
    EXPECT_EQ(is_member(owner(), roles().across_projects()), "t");
    EXPECT_EQ(is_member(owner(), "qv_across_projects"), "t");
    EXPECT_EQ(is_member(roles().across_projects(), "qv_across_projects"), "t");
    EXPECT_EQ(is_member(roles().in_project(), "qv_across_projects"), "f");
  }
};

TEST_F(Provision, TwiceUnderASuperuserLeavesTheOwnerUntouched) {
  EXPECT_EQ(provision_as(conninfo(), "first pw"), "ok");
  EXPECT_EQ(provision_as(conninfo(), "second pw"), "ok");
  expect_provisioned();
  EXPECT_TRUE(owner_logs_in_with("first pw"));
  EXPECT_FALSE(owner_logs_in_with("second pw"));
}

TEST_F(Provision, TwiceUnderACreateRoleAdministratorConvergesThePassword) {
  const std::string login = administrator("admin", "CREATEROLE");
  EXPECT_EQ(provision_as(login, "first pw"), "ok");
  EXPECT_EQ(provision_as(login, "second pw"), "ok");
  expect_provisioned();
  EXPECT_EQ(is_member(role_name("admin"), owner()), "t");
  EXPECT_TRUE(owner_logs_in_with("second pw"));
}

TEST_F(Provision, APreCreatedOwnerIsRefusedAndNothingIsCreated) {
  run("CREATE ROLE " + owner() + " LOGIN");
  const std::string login = administrator("admin", "CREATEROLE");
  const std::string refusal = "role " + owner() + " already exists and was not provisioned by " + role_name("admin") +
                              "; to adopt a pre-created role, GRANT it to this admin first";
  EXPECT_EQ(provision_as(login, "pw"), "5008 Database statement failed: ERROR P0001: " + refusal +
                                           "\nCONTEXT: PL/pgSQL function inline_code_block line 1 at RAISE");
  EXPECT_EQ(value("SELECT count(*) FROM pg_namespace WHERE nspname = 'qv_apiserver'"), "0");
  EXPECT_EQ(value("SELECT count(*) FROM pg_roles WHERE rolname IN ('" + roles().in_project() + "', '" +
                  roles().across_projects() + "')"),
            "0");
}

TEST_F(Provision, ThePasswordNeverLeavesTheProcess) {
  const std::string password = "Pw-" + database_name() + "-'quoted'\\";
  const std::string without_createrole = administrator("plain", "");
  const std::string refused = provision_as(without_createrole, password);
  EXPECT_THAT(refused, testing::StartsWith("5008 Database statement failed: ERROR 42501"));
  EXPECT_EQ(refused.find(database_name() + "-"), std::string::npos) << refused;
  EXPECT_EQ(refused.find("SCRAM-SHA-256$"), std::string::npos) << refused;

  EXPECT_EQ(provision_as(conninfo(), password), "ok");
  EXPECT_TRUE(owner_logs_in_with(password));
  EXPECT_THAT(value("SELECT rolpassword FROM pg_authid WHERE rolname = '" + owner() + "'"),
              testing::StartsWith("SCRAM-SHA-256$"));

  const char* folder = std::getenv("QV_TEST_PG_DIR");
  if (folder == nullptr) GTEST_SKIP() << "QV_TEST_PG_DIR is not set: the server log cannot be read";
  std::ifstream log(std::string(folder) + "/log");
  ASSERT_TRUE(log) << "no server log in " << folder;
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("CREATE ROLE " + owner() + " LOGIN PASSWORD"), std::string::npos)
      << "the refusal is not in the server log";
  EXPECT_EQ(text.str().find(database_name() + "-"), std::string::npos) << "the password is in the server log";
}

TEST_F(Provision, TheOwnerPasswordIsAScramVerifierUnderMd5PasswordEncryption) {
  auto pool = admin(conninfo_with({{"options", "-c password_encryption=md5"}}));
  {
    auto lease = pool.pool().acquire();
    ASSERT_TRUE(lease);
    EXPECT_EQ(query_value(**lease, "SHOW password_encryption"), "md5");
  }
  EXPECT_EQ(outcome_text(component().provision(pool, request("owner pw")).get()), "ok");
  EXPECT_THAT(value("SELECT rolpassword FROM pg_authid WHERE rolname = '" + owner() + "'"),
              testing::StartsWith("SCRAM-SHA-256$"));
  EXPECT_TRUE(owner_logs_in_with("owner pw"));
}

TEST_F(Provision, PreflightNeedsCreateOnTheHomeSchema) {
  ASSERT_NO_FATAL_FAILURE(provision());
  EXPECT_EQ(outcome_text(component().preflight(admin()).get()), "ok");
  const std::string plain = administrator("plain", "");
  auto refused = component().preflight(admin(plain)).get();
  EXPECT_EQ(outcome_text(refused), "5022 Missing privilege: CREATE on schema qv_apiserver");
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().texts, (std::vector<std::string>{"CREATE on schema qv_apiserver"}));
  run("GRANT CREATE ON SCHEMA qv_apiserver TO " + role_name("plain"));
  EXPECT_EQ(outcome_text(component().preflight(admin(plain)).get()), "ok");
}

TEST_F(Provision, TheWholeRoadOverVerifiedTlsWithChannelBinding) {
  ASSERT_FALSE(server_ca().empty()) << "QV_TEST_PG_CA is not set";
  const connection::Settings tls = {
      {"host", "localhost"}, {"sslmode", "verify-full"}, {"sslrootcert", server_ca()}, {"channel_binding", "require"}};
  auto pool = admin(conninfo_with(tls));
  EXPECT_EQ(outcome_text(component().provision(pool, request()).get()), "ok");
  EXPECT_EQ(outcome_text(component().preflight(pool).get()), "ok");
  EXPECT_EQ(outcome_text(upgrade(pool).outcome), "ok");
  connection::Settings serving = tls;
  const std::string login = role_name("api");
  run("CREATE ROLE " + login + " LOGIN PASSWORD 'api pw' IN ROLE " + roles().in_project());
  serving.insert(serving.end(), {{"user", login}, {"password", "api pw"}});
  EXPECT_EQ(outcome_text(component().check(serving_pool(conninfo_with(serving))).get()), "ok");

  auto lease = pool.pool().acquire();
  ASSERT_TRUE(lease);
  EXPECT_EQ(query_value(**lease, "SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()"), "t");
}

TEST_F(Provision, ServingLoginsWithScramAndMd5Passwords) {
  ASSERT_NO_FATAL_FAILURE(install());
  const std::string scram = serving_login("scram", "scram pw");
  const std::string md5 = role_name("md5");
  run("SET password_encryption = 'md5'; CREATE ROLE " + md5 + " LOGIN PASSWORD 'md5 pw' IN ROLE " +
      roles().in_project() + ", qv_md5_logins");
  EXPECT_THAT(value("SELECT rolpassword FROM pg_authid WHERE rolname = '" + md5 + "'"), testing::StartsWith("md5"));
  EXPECT_EQ(outcome_text(component().check(serving_pool(scram)).get()), "ok");
  EXPECT_EQ(outcome_text(component().check(serving_pool(conninfo_with({{"user", md5}, {"password", "md5 pw"}}))).get()),
            "ok");
}

}  // namespace
}  // namespace components::provision
