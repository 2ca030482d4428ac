#include "components/provision.h"

#include "components/sql.h"
#include "config/name.h"

namespace components::provision {
namespace {

// information_schema is PostgreSQL's own, not the owner's. A schema named
// qv_across_projects would be searched first by every session running as
// that role, which all deployments share.
qv_common::Result<void, std::string> not_reserved_schema(const config::schema::Schema& schema) {
  const std::string& name = schema.to_string();
  if (name == "information_schema") {
    return qv_common::fail(std::string("schema: 'information_schema' belongs to PostgreSQL; name a schema of its own"));
  }
  if (name == sql::kAcrossProjectsGroup) {
    return qv_common::fail("schema: '" + name +
                           "' is the name of the cross-project group role, whose sessions would search this schema "
                           "first; name a schema of its own");
  }
  return {};
}

}  // namespace

qv_common::Result<ProvisionRequest, std::string> ProvisionRequest::make(config::schema::Schema schema,
                                                                        std::string_view owner,
                                                                        std::string owner_password,
                                                                        admin_pool::RlsRoles roles) {
  QV_RETURN_IF_ERROR(not_reserved_schema(schema));
  QV_ASSIGN_OR_RETURN(std::string checked_owner, config::name::checked_role_name("owner", owner));
  QV_RETURN_IF_ERROR(config::name::not_group_role("owner", checked_owner, sql::kAcrossProjectsGroup));
  QV_RETURN_IF_ERROR(config::name::distinct_roles("owner", checked_owner, "in_project", roles.in_project()));
  QV_RETURN_IF_ERROR(config::name::distinct_roles("owner", checked_owner, "across_projects", roles.across_projects()));
  if (owner_password.empty()) return qv_common::fail(std::string("owner_password: must not be empty"));
  return ProvisionRequest(std::move(schema), std::move(checked_owner), std::move(owner_password), std::move(roles));
}

std::vector<std::string> provision_batch(const ProvisionRequest& request) {
  const std::string& owner = request.owner();
  const std::string& in_project = request.roles().in_project();
  const std::string& across_projects = request.roles().across_projects();
  const std::string schema = request.schema().to_string();
  return {
      sql::refuse_privileged_role_sql(in_project, across_projects),
      sql::refuse_privileged_role_sql(across_projects, across_projects),
      sql::refuse_privileged_role_sql(sql::kAcrossProjectsGroup, across_projects),
      sql::refuse_across_projects_group_holdings_sql(),
      sql::refuse_shared_role_sql(in_project, schema),
      sql::refuse_shared_role_sql(across_projects, schema),
      sql::refuse_schema_named_after_role_sql(schema, owner, in_project, across_projects),
      sql::refuse_foreign_schema_sql(schema, owner),
      sql::refuse_schema_grants_sql(schema, owner, in_project, across_projects),
      sql::create_owner_role_sql(owner, sql::kOwnerPasswordSetting),
      sql::create_schema_sql(schema, owner),
      sql::create_across_projects_group_sql(sql::kAcrossProjectsGroup),
      sql::create_rls_role_sql(in_project),
      sql::create_rls_role_sql(across_projects),
      sql::grant_across_projects_membership_sql(across_projects),
      sql::grant_across_projects_membership_sql(owner),
      sql::grant_rls_role_membership_sql(owner, in_project),
      sql::grant_rls_role_membership_sql(owner, across_projects),
      // The refusals above leave the in-project role a member of no role.
      // Looked at again after every grant, so that a membership that a
      // provisioning running beside this one committed since is refused too.
      sql::refuse_in_project_membership_sql(in_project, across_projects),
  };
}

}  // namespace components::provision
