#pragma once

// Provisioning: what a privileged login prepares on a server before the first
// upgrade. Every statement checks before it acts, so it may run again.

#include <string>
#include <string_view>
#include <vector>

#include "components/admin_pool.h"
#include "config/schema.h"
#include "result.h"

namespace components::provision {

class ProvisionRequest {
 public:
  // Refuses the schema information_schema or qv_across_projects (field
  // "schema"), an owner role name config::name does not accept (field
  // "owner"), an owner that is one of the RLS roles or qv_across_projects,
  // and an empty password, which the server would take as no password at all.
  static qv_common::Result<ProvisionRequest, std::string> make(config::schema::Schema schema, std::string_view owner,
                                                               std::string owner_password, admin_pool::RlsRoles roles);

  const config::schema::Schema& schema() const { return schema_; }
  const std::string& owner() const { return owner_; }
  // A secret: it reaches the server only as a bound value.
  const std::string& owner_password() const { return owner_password_; }
  const admin_pool::RlsRoles& roles() const { return roles_; }

 private:
  ProvisionRequest(config::schema::Schema schema, std::string owner, std::string owner_password,
                   admin_pool::RlsRoles roles)
      : schema_(std::move(schema)),
        owner_(std::move(owner)),
        owner_password_(std::move(owner_password)),
        roles_(std::move(roles)) {}

  config::schema::Schema schema_;
  std::string owner_;
  std::string owner_password_;
  admin_pool::RlsRoles roles_;
};

// The statements of provisioning, in order: first the refusals (existing RLS
// roles, or an existing qv_across_projects, that log in, hold powers beyond
// row-level security or belong to other roles; a qv_across_projects that
// holds more than its policies and database access; RLS roles that serve
// another deployment; a home schema named after another role; a home
// schema, or objects in it, of another role; a home schema that reaches a
// role outside the deployment), then the roles, the schema and the
// memberships, and last the refusal of an in-project role that is a member
// of a role that sees every project. The password is read from the setting
// qv.owner_password.
std::vector<std::string> provision_batch(const ProvisionRequest& request);

}  // namespace components::provision
