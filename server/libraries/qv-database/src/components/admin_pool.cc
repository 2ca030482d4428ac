#include "components/admin_pool.h"

#include <utility>

#include "components/provision.h"
#include "components/sql.h"
#include "config/name.h"
#include "connection/password.h"
#include "pool/session.h"
#include "pool/state.h"
#include "sea_query/catalog.h"
#include "sea_query/executor.h"

namespace components::admin_pool {
namespace {

// The SCRAM-SHA-256 verifier of the owner's password, computed by libpq on a
// session of `pool` without asking the server.
Result<std::string> owner_password_hash(const pool::Pool& pool, const provision::ProvisionRequest& request) {
  auto hashed = [&]() -> qv_common::Result<std::string, connection::Error> {
    QV_ASSIGN_OR_RETURN(pool::Lease lease, pool.acquire());
    return connection::encrypt_password(*lease, request.owner_password(), request.owner());
  }();
  if (!hashed) return qv_common::fail(error::write_failed(std::move(hashed).error()));
  return std::move(hashed).value();
}

}  // namespace

qv_common::Result<RlsRoles, std::string> RlsRoles::parse(std::string_view in_project,
                                                         std::string_view across_projects) {
  QV_ASSIGN_OR_RETURN(std::string checked_in_project, config::name::checked_role_name("in_project", in_project));
  QV_ASSIGN_OR_RETURN(std::string checked_across, config::name::checked_role_name("across_projects", across_projects));
  QV_RETURN_IF_ERROR(config::name::not_group_role("in_project", checked_in_project, sql::kAcrossProjectsGroup));
  QV_RETURN_IF_ERROR(config::name::not_group_role("across_projects", checked_across, sql::kAcrossProjectsGroup));
  QV_RETURN_IF_ERROR(config::name::distinct_roles("across_projects", checked_across, "in_project", checked_in_project));
  return RlsRoles(std::move(checked_in_project), std::move(checked_across));
}

qv_common::Result<AdminPool, std::string> AdminPool::open(std::string_view conninfo,
                                                          std::optional<config::schema::Schema> schema,
                                                          std::optional<RlsRoles> roles, pool::PoolOptions options) {
  if (!schema) return qv_common::fail(std::string(kNoSchema));
  auto sessions = pool::session::session_conninfo(conninfo, {{"search_path", schema->to_string()}});
  if (!sessions) return qv_common::fail(connection::describe(sessions.error()));
  return AdminPool(std::move(*schema), std::move(roles), pool::Pool(std::move(*sessions), std::move(options)));
}

qv_common::Result<RlsRoles, std::string> AdminPool::roles() const {
  if (!roles_) return qv_common::fail(std::string(kNoRoles));
  return *roles_;
}

Result<void> AdminPool::check_pg_min_version() const { return pool::state::check_pg_min_version(pool_); }

Result<void> AdminPool::check_upgrader_permissions() const {
  auto allowed =
      sea_query::executor::PoolExecutor(pool_).run_fetch_optional_scalar<bool>(create_privilege_query(schema_)).get();
  if (!allowed) return qv_common::fail(error::read_failed(std::move(allowed).error()));
  if (allowed->value_or(false)) return {};
  return qv_common::fail(error::missing_privilege("CREATE on schema " + schema_.to_string()));
}

Result<void> AdminPool::provision_schema(const provision::ProvisionRequest& request) const {
  QV_ASSIGN_OR_RETURN(std::string password_hash, owner_password_hash(pool_, request));
  return sql::execute_batch_tx_with_secrets(pool_, provision::provision_batch(request),
                                            {{std::string(sql::kOwnerPasswordSetting), std::move(password_hash)}});
}

sqlbuilder::Select create_privilege_query(const config::schema::Schema& schema) {
  using sqlbuilder::val;
  sqlbuilder::Select select;
  select.expr(sqlbuilder::func("has_schema_privilege", {sea_query::catalog::current_user(), val(schema.to_string()),
                                                        val(std::string("CREATE"))}));
  return select;
}

}  // namespace components::admin_pool
