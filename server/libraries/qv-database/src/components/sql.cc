#include "components/sql.h"

#include "connection/pg_connection_ext.h"
#include "connection/scrub.h"
#include "connection/transaction.h"
#include "sqlbuilder/template.h"

namespace components::sql {
namespace {

using sqlbuilder::format_template;

// Functions that others created in the session's schemas (the home schema,
// which the owner controls) can neither capture a call nor run with the
// administrator's powers: only pg_catalog, and the session's own temporary
// schema last, are searched.
constexpr const char* kCatalogOnlySearchPath = "SET LOCAL search_path = pg_catalog, pg_temp";

std::string text(std::string_view view) { return std::string(view); }

qv_common::Result<void, connection::Error> run_transaction(connection::Connection& connection,
                                                           const std::vector<std::string>& statements,
                                                           const std::vector<Secret>& secrets) {
  QV_ASSIGN_OR_RETURN(connection::Transaction transaction, connection::Transaction::begin(connection));
  QV_RETURN_IF_ERROR(connection.execute_script(kCatalogOnlySearchPath));
  for (const auto& [name, value] : secrets) QV_RETURN_IF_ERROR(connection::set_local_secret(connection, name, value));
  QV_RETURN_IF_ERROR(connection::execute_batch(connection, statements));
  return transaction.commit();
}

}  // namespace

std::string refuse_privileged_role_sql(std::string_view role) {
  return format_template(
      "DO $$ DECLARE holder name; powers text; "
      "rule text := 'a row-level-security role must hold none of SUPERUSER, BYPASSRLS, CREATEROLE, REPLICATION and "
      "ADMIN OPTION, directly or through a role it is a member of, nor be a member of pg_execute_server_program, "
      "pg_read_server_files or pg_write_server_files'; BEGIN "
      "IF EXISTS (SELECT FROM pg_roles WHERE rolname = '{0}') THEN "
      "SELECT rolname, holds INTO holder, powers FROM (SELECT r.rolname, concat_ws(', ', "
      "CASE WHEN r.rolsuper THEN 'SUPERUSER' END, CASE WHEN r.rolbypassrls THEN 'BYPASSRLS' END, "
      "CASE WHEN r.rolcreaterole THEN 'CREATEROLE' END, CASE WHEN r.rolreplication THEN 'REPLICATION' END, "
      "(SELECT 'ADMIN OPTION on ' || string_agg(g.rolname, ', ' ORDER BY g.rolname) FROM pg_auth_members m "
      "JOIN pg_roles g ON g.oid = m.roleid WHERE m.member = r.oid AND m.admin_option)) AS holds "
      "FROM pg_roles r WHERE pg_has_role('{0}', r.oid, 'MEMBER')) reached "
      "WHERE holds <> '' OR rolname IN ('pg_execute_server_program', 'pg_read_server_files', 'pg_write_server_files') "
      "ORDER BY rolname <> '{0}', rolname LIMIT 1; "
      "IF holder = '{0}' THEN RAISE EXCEPTION 'role % has %; %', '{0}', powers, rule; "
      "ELSIF powers <> '' THEN RAISE EXCEPTION 'role % is a member of %, which has %; %', '{0}', holder, powers, rule; "
      "ELSIF holder IS NOT NULL THEN RAISE EXCEPTION 'role % is a member of %; %', '{0}', holder, rule; "
      "END IF; END IF; END $$",
      {text(role)});
}

std::string refuse_in_project_membership_sql(std::string_view in_project, std::string_view across_projects) {
  return format_template(
      "DO $$ DECLARE holder name; BEGIN "
      "IF EXISTS (SELECT FROM pg_roles WHERE rolname = '{0}') THEN "
      "SELECT rolname INTO holder FROM pg_roles WHERE rolname IN ('{1}', '{2}') AND pg_has_role('{0}', oid, 'MEMBER') "
      "ORDER BY rolname LIMIT 1; "
      "IF holder IS NOT NULL THEN RAISE EXCEPTION 'role % is a member of %; the in-project role must be a member "
      "neither of the across-projects role % nor of %, which see every project', '{0}', holder, '{1}', '{2}'; "
      "END IF; END IF; END $$",
      {text(in_project), text(across_projects), text(kAcrossProjectsGroup)});
}

std::string refuse_foreign_schema_sql(std::string_view schema, std::string_view owner) {
  return format_template(
      "DO $$ DECLARE holder name; BEGIN "
      "SELECT r.rolname INTO holder FROM pg_namespace n JOIN pg_roles r ON r.oid = n.nspowner "
      "WHERE n.nspname = '{0}' AND r.rolname NOT IN ('{1}', current_user) AND NOT r.rolsuper; "
      "IF holder IS NOT NULL THEN RAISE EXCEPTION 'schema % already exists and belongs to %; the home schema must be "
      "new, or belong to the owner %, to this administrator or to a superuser', '{0}', holder, '{1}'; "
      "END IF; END $$",
      {text(schema), text(owner)});
}

std::string create_owner_role_sql(std::string_view owner, std::string_view password_setting) {
  return format_template(
      "DO $$ BEGIN EXECUTE format('CREATE ROLE %I LOGIN PASSWORD %L', '{0}', current_setting('{1}')); "
      "IF NOT (SELECT rolsuper FROM pg_roles WHERE rolname = current_user) THEN "
      "EXECUTE format('GRANT %I TO CURRENT_USER', '{0}'); END IF; "
      "EXCEPTION WHEN duplicate_object OR unique_violation THEN "
      "IF (SELECT rolsuper FROM pg_roles WHERE rolname = current_user) THEN "
      "RAISE WARNING 'role % already exists; leaving it untouched (its password is not converged)', '{0}'; "
      "ELSIF pg_has_role(current_user, '{0}', 'MEMBER') THEN "
      "BEGIN EXECUTE format('ALTER ROLE %I WITH PASSWORD %L', '{0}', current_setting('{1}')); "
      "EXCEPTION WHEN insufficient_privilege THEN "
      "RAISE WARNING 'role % already exists and is not alterable by %: %; continuing with its existing password', "
      "'{0}', current_user, SQLERRM; END; "
      "ELSE RAISE EXCEPTION 'role % already exists and was not provisioned by %; to adopt a pre-created role, "
      "GRANT it to this admin first', '{0}', current_user; END IF; END $$",
      {text(owner), text(password_setting)});
}

std::string create_schema_sql(std::string_view schema, std::string_view owner) {
  return format_template("CREATE SCHEMA IF NOT EXISTS \"{0}\" AUTHORIZATION \"{1}\"", {text(schema), text(owner)});
}

std::string create_across_projects_group_sql(std::string_view group) {
  return format_template(
      "DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = '{0}') THEN BEGIN "
      "CREATE ROLE \"{0}\" NOBYPASSRLS NOLOGIN; EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; "
      "END; END IF; END $$",
      {text(group)});
}

std::string create_rls_role_sql(std::string_view role) {
  return format_template(
      "DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = '{0}') THEN BEGIN "
      "CREATE ROLE \"{0}\" NOBYPASSRLS; EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; "
      "END; END IF; END $$",
      {text(role)});
}

std::string grant_rls_role_membership_sql(std::string_view member, std::string_view role) {
  return format_template(
      "DO $$ BEGIN IF NOT pg_has_role('{0}', '{1}', 'MEMBER') THEN "
      "EXECUTE format('GRANT %I TO %I', '{1}', '{0}'); END IF; END $$",
      {text(member), text(role)});
}

std::string grant_across_projects_membership_sql(std::string_view member) {
  return format_template(
      "DO $$ BEGIN IF NOT pg_has_role('{0}', '{1}', 'MEMBER') THEN BEGIN "
      "EXECUTE format('GRANT %I TO %I', '{1}', '{0}'); EXCEPTION WHEN insufficient_privilege THEN "
      "RAISE WARNING 'cannot grant % to %: %; cross-project work on this deployment will see no rows until a DBA "
      "grants it', '{1}', '{0}', SQLERRM; END; END IF; END $$",
      {text(member), text(kAcrossProjectsGroup)});
}

std::vector<std::string> grant_rls_role_privileges_sql(std::string_view schema, std::string_view role) {
  const std::vector<std::string> args = {text(schema), text(role)};
  return {
      format_template("GRANT USAGE ON SCHEMA \"{0}\" TO \"{1}\"", args),
      format_template("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA \"{0}\" TO \"{1}\"", args),
      format_template(
          "ALTER DEFAULT PRIVILEGES IN SCHEMA \"{0}\" GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO \"{1}\"", args),
  };
}

qv_common::Result<void, error::DbError> execute_batch_tx_with_secrets(const pool::Pool& pool,
                                                                      const std::vector<std::string>& statements,
                                                                      const std::vector<Secret>& secrets) {
  qv_common::Result<void, connection::Error> ran = [&]() -> qv_common::Result<void, connection::Error> {
    QV_ASSIGN_OR_RETURN(pool::Lease lease, pool.acquire());
    return run_transaction(*lease, statements, secrets);
  }();
  if (ran) return {};
  connection::Error client = std::move(ran).error();
  for (const auto& [name, value] : secrets) client = connection::scrub(std::move(client), value);
  return qv_common::fail(error::write_failed(std::move(client)));
}

}  // namespace components::sql
