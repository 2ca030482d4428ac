#pragma once

// AdminPool, the privileged pool: sessions of an administrator login, with
// the home schema and the row-level-security roles of the privileged entry.
// Provisioning, preflight and the upgrade run on it.

#include <optional>
#include <string>
#include <string_view>

#include "config/schema.h"
#include "error/db_error.h"
#include "pool/pool.h"
#include "result.h"
#include "sqlbuilder/select.h"

namespace components::provision {
struct ProvisionRequest;
}

namespace components::admin_pool {

template <typename T>
using Result = qv_common::Result<T, error::DbError>;

// The roles the row-level-security policies of the schema are written for:
// one limited to a project, one that joins qv_across_projects.
class RlsRoles {
 public:
  // Refuses a role name config::name does not accept (public and none among
  // them), qv_across_projects, and one name for both roles, naming the field
  // ("in_project" or "across_projects").
  static qv_common::Result<RlsRoles, std::string> parse(std::string_view in_project, std::string_view across_projects);

  const std::string& in_project() const { return in_project_; }
  const std::string& across_projects() const { return across_projects_; }

 private:
  RlsRoles(std::string in_project, std::string across_projects)
      : in_project_(std::move(in_project)), across_projects_(std::move(across_projects)) {}
  std::string in_project_;
  std::string across_projects_;
};

inline constexpr std::string_view kNoSchema = "No schema configured: the privileged system entry has no home schema";
inline constexpr std::string_view kNoRoles = "No RLS roles configured: the privileged system entry has none";

class AdminPool {
 public:
  // Refuses a configuration without home schema (kNoSchema) or with a
  // malformed conninfo. Every session has the home schema as its search_path.
  static qv_common::Result<AdminPool, std::string> open(std::string_view conninfo,
                                                        std::optional<config::schema::Schema> schema,
                                                        std::optional<RlsRoles> roles, pool::PoolOptions options = {});

  const config::schema::Schema& schema() const { return schema_; }
  // The roles; refused (kNoRoles) when the entry has none.
  qv_common::Result<RlsRoles, std::string> roles() const;
  const pool::Pool& pool() const { return pool_; }

  // PostgreSQL 15 or later (5020; 5009 when the query fails).
  Result<void> check_pg_min_version() const;
  // CREATE on the home schema for this login (5022; 5009 when the query fails).
  Result<void> check_upgrader_permissions() const;
  // The owner, the schema, the row-level-security roles and their memberships,
  // in one transaction (5008).
  Result<void> provision_schema(const provision::ProvisionRequest& request) const;

 private:
  AdminPool(config::schema::Schema schema, std::optional<RlsRoles> roles, pool::Pool pool)
      : schema_(std::move(schema)), roles_(std::move(roles)), pool_(std::move(pool)) {}

  config::schema::Schema schema_;
  std::optional<RlsRoles> roles_;
  pool::Pool pool_;
};

// SELECT has_schema_privilege(current_user, $1, $2) ($1 the schema, $2 "CREATE").
sqlbuilder::Select create_privilege_query(const config::schema::Schema& schema);

}  // namespace components::admin_pool
