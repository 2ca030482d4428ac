#include "pool/serving.h"

#include <utility>
#include <vector>

#include "pool/session.h"
#include "sea_query/catalog.h"
#include "sea_query/executor.h"

namespace pool::serving {
namespace {

using sea_query::executor::PoolExecutor;

state::Result<bool> ask(const Pool& pool, const sqlbuilder::Select& query) {
  auto answer = PoolExecutor(pool).run_fetch_optional_scalar<bool>(query).get();
  if (!answer) return qv_common::fail(error::read_failed(std::move(answer).error()));
  return answer->value_or(false);
}

}  // namespace

qv_common::Result<QvPool, connection::Error> QvPool::open(std::string_view conninfo, const config::schema::Schema& home,
                                                          std::optional<std::string> in_project_role,
                                                          PoolOptions options) {
  session::ServerSettings settings = {{"search_path", home.to_string()}};
  if (in_project_role) settings.emplace_back(kInProjectRoleSetting, std::move(*in_project_role));
  QV_ASSIGN_OR_RETURN(std::string sessions, session::session_conninfo(conninfo, settings));
  return QvPool(Pool(std::move(sessions), std::move(options)));
}

state::Result<void> QvPool::check_rls_posture() const {
  QV_ASSIGN_OR_RETURN(bool beyond, ask(pool_, beyond_serving_query()));
  if (beyond) return qv_common::fail(error::login_bypasses_rls());
  QV_ASSIGN_OR_RETURN(bool across, ask(pool_, in_project_across_projects_query()));
  if (across) return qv_common::fail(error::in_project_role_across_projects());
  return {};
}

sqlbuilder::Select beyond_serving_query() {
  using sqlbuilder::col;
  const auto member_of = [](sqlbuilder::Expr role) {
    return sqlbuilder::func("pg_catalog.pg_has_role",
                            {std::move(role), col("oid"), sqlbuilder::val(std::string(kMember))});
  };
  std::vector<sqlbuilder::Expr> server_file_roles;
  for (std::string_view role : kServerFileRoles) {
    server_file_roles.push_back(sqlbuilder::cast(sqlbuilder::val(std::string(role)), "name"));
  }
  const sqlbuilder::Expr beyond = col("rolsuper")
                                      .or_(col("rolbypassrls"))
                                      .or_(col("rolcreaterole"))
                                      .or_(col("rolreplication"))
                                      .or_(col("rolname").in(std::move(server_file_roles)));
  sqlbuilder::Select select;
  select.expr_as(beyond, "beyond_serving")
      .from_in_schema("pg_catalog", "pg_roles")
      .and_where(member_of(sea_query::catalog::session_user()).or_(member_of(sea_query::catalog::current_user())))
      .order_by(col("beyond_serving"), sqlbuilder::Order::Desc)
      .limit(1);
  return select;
}

sqlbuilder::Select in_project_across_projects_query() {
  using sqlbuilder::cast;
  using sqlbuilder::val;
  sqlbuilder::Select select;
  select.expr(sqlbuilder::func(
      "pg_catalog.pg_has_role",
      {cast(sqlbuilder::func("pg_catalog.current_setting", {val(std::string(kInProjectRoleSetting))}), "name"),
       cast(val(std::string(kAcrossProjectsRole)), "name"), val(std::string(kMember))}));
  return select;
}

}  // namespace pool::serving
