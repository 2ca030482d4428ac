#include "components/sql.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/provision.h"

namespace components::sql {
namespace {

TEST(Sql, ProvisioningTemplatesFillTheirNamesVerbatim) {
  struct {
    std::string text;
    const char* expect;
  } cases[] = {
      {create_owner_role_sql("qv_owner", "qv.owner_password"),
       "DO $$ BEGIN EXECUTE format('CREATE ROLE %I LOGIN PASSWORD %L', 'qv_owner', "
       "current_setting('qv.owner_password')); IF NOT (SELECT rolsuper FROM pg_roles WHERE rolname = current_user) "
       "THEN EXECUTE format('GRANT %I TO CURRENT_USER', 'qv_owner'); END IF; EXCEPTION WHEN duplicate_object OR "
       "unique_violation THEN IF (SELECT rolsuper FROM pg_roles WHERE rolname = current_user) THEN RAISE WARNING "
       "'role % already exists; leaving it untouched (its password is not converged)', 'qv_owner'; ELSIF "
       "pg_has_role(current_user, 'qv_owner', 'MEMBER') THEN BEGIN EXECUTE format('ALTER ROLE %I WITH PASSWORD %L', "
       "'qv_owner', current_setting('qv.owner_password')); EXCEPTION WHEN insufficient_privilege THEN RAISE WARNING "
       "'role % already exists and is not alterable by %: %; continuing with its existing password', 'qv_owner', "
       "current_user, SQLERRM; END; ELSE RAISE EXCEPTION 'role % already exists and was not provisioned by %; to "
       "adopt a pre-created role, GRANT it to this admin first', 'qv_owner', current_user; END IF; END $$"},
      {create_schema_sql("qv_apiserver", "qv_owner"),
       R"(CREATE SCHEMA IF NOT EXISTS "qv_apiserver" AUTHORIZATION "qv_owner")"},
      {create_across_projects_group_sql("qv_across_projects"),
       "DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'qv_across_projects') THEN BEGIN CREATE ROLE "
       "\"qv_across_projects\" NOBYPASSRLS NOLOGIN; EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; "
       "END; END IF; END $$"},
      {create_rls_role_sql("qv_reader"),
       "DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'qv_reader') THEN BEGIN CREATE ROLE "
       "\"qv_reader\" NOBYPASSRLS; EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END; END IF; "
       "END $$"},
      {grant_rls_role_membership_sql("qv_owner", "qv_reader"),
       "DO $$ BEGIN IF NOT pg_has_role('qv_owner', 'qv_reader', 'MEMBER') THEN EXECUTE format('GRANT %I TO %I', "
       "'qv_reader', 'qv_owner'); END IF; END $$"},
      {grant_across_projects_membership_sql("qv_owner"),
       "DO $$ BEGIN IF NOT pg_has_role('qv_owner', 'qv_across_projects', 'MEMBER') THEN BEGIN EXECUTE "
       "format('GRANT %I TO %I', 'qv_across_projects', 'qv_owner'); EXCEPTION WHEN insufficient_privilege THEN "
       "RAISE WARNING 'cannot grant % to %: %; cross-project work on this deployment will see no rows until a DBA "
       "grants it', 'qv_across_projects', 'qv_owner', SQLERRM; END; END IF; END $$"},
  };
  for (const auto& test_case : cases) EXPECT_EQ(test_case.text, test_case.expect);
}

TEST(Sql, GrantsOfARowLevelSecurityRole) {
  EXPECT_EQ(grant_rls_role_privileges_sql("qv_apiserver", "qv_reader"),
            (std::vector<std::string>{
                R"(GRANT USAGE ON SCHEMA "qv_apiserver" TO "qv_reader")",
                R"(GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA "qv_apiserver" TO "qv_reader")",
                R"(ALTER DEFAULT PRIVILEGES IN SCHEMA "qv_apiserver" GRANT SELECT, INSERT, UPDATE, DELETE ON )"
                R"(TABLES TO "qv_reader")",
            }));
}

TEST(Sql, ProvisioningBatchInItsOrder) {
  auto roles = admin_pool::RlsRoles::parse("qv_reader", "qv_everywhere").value();
  auto request = provision::ProvisionRequest::make(config::schema::Schema::parse("qv_apiserver").value(), "qv_owner",
                                                   "secret", roles)
                     .value();
  EXPECT_EQ(provision::provision_batch(request),
            (std::vector<std::string>{
                refuse_privileged_role_sql("qv_reader", "qv_everywhere"),
                refuse_privileged_role_sql("qv_everywhere", "qv_everywhere"),
                refuse_privileged_role_sql("qv_across_projects", "qv_everywhere"),
                refuse_across_projects_group_holdings_sql(),
                refuse_shared_role_sql("qv_reader", "qv_apiserver"),
                refuse_shared_role_sql("qv_everywhere", "qv_apiserver"),
                refuse_schema_named_after_role_sql("qv_apiserver", "qv_owner", "qv_reader", "qv_everywhere"),
                refuse_foreign_schema_sql("qv_apiserver", "qv_owner"),
                refuse_schema_grants_sql("qv_apiserver", "qv_owner", "qv_reader", "qv_everywhere"),
                create_owner_role_sql("qv_owner", "qv.owner_password"),
                create_schema_sql("qv_apiserver", "qv_owner"),
                create_across_projects_group_sql("qv_across_projects"),
                create_rls_role_sql("qv_reader"),
                create_rls_role_sql("qv_everywhere"),
                grant_across_projects_membership_sql("qv_everywhere"),
                grant_across_projects_membership_sql("qv_owner"),
                grant_rls_role_membership_sql("qv_owner", "qv_reader"),
                grant_rls_role_membership_sql("qv_owner", "qv_everywhere"),
                refuse_in_project_membership_sql("qv_reader", "qv_everywhere"),
            }));
  for (const std::string& statement : provision::provision_batch(request)) {
    EXPECT_EQ(statement.find("secret"), std::string::npos) << statement;
  }
}

}  // namespace
}  // namespace components::sql
