#include "components/sql.h"

#include "connection/pg_connection_ext.h"
#include "connection/scrub.h"
#include "connection/transaction.h"
#include "sqlbuilder/template.h"

namespace components::sql {
namespace {

using sqlbuilder::format_template;

std::string text(std::string_view view) { return std::string(view); }

// The rows of pg_shdepend (cluster-wide) that name the role r, with the
// current database as here and the database of the object as other.
constexpr const char kDependenciesOfRole[] =
    "FROM pg_shdepend d JOIN pg_roles r ON r.oid = d.refobjid "
    "CROSS JOIN (SELECT oid FROM pg_database WHERE datname = current_database()) here "
    "LEFT JOIN pg_database other ON other.oid = d.dbid ";
// What such a row says the role does: "owns table public.t", "holds a
// privilege on an object of database x". Objects of other databases cannot
// be described from here.
constexpr const char kDependencyPlace[] =
    "concat_ws(' ', CASE d.deptype WHEN 'o' THEN 'owns' WHEN 'r' THEN 'is named in' "
    "ELSE 'holds a privilege on' END, CASE WHEN d.dbid IN (0, here.oid) "
    "THEN coalesce(pg_describe_object(d.classid, d.objid, d.objsubid), 'an object') "
    "ELSE 'an object of database ' || coalesce(other.datname::text, d.dbid::text) END)";
// A privilege row on a database that gives the role nothing but CONNECT and
// TEMPORARY there: neither lets it create or read anything of another role.
constexpr const char kOnlyDatabaseAccess[] =
    "(d.deptype = 'a' AND d.classid = 'pg_database'::regclass AND NOT EXISTS (SELECT FROM pg_database db "
    "CROSS JOIN LATERAL aclexplode(db.datacl) x WHERE db.oid = d.objid AND x.grantee = d.refobjid "
    "AND x.privilege_type NOT IN ('CONNECT', 'TEMPORARY')))";

// Fills `allowed` with the roles inside the deployment that may own and
// create in the home schema: the administrator, a superuser, and the owner
// {1} with every role that is a member of it. Ends before the statement's
// semicolon, so a caller may add roles.
constexpr const char kAllowedRoles[] =
    "SELECT coalesce(array_agg(r.oid), ARRAY[]::oid[]) INTO allowed FROM pg_roles r "
    "WHERE r.rolname = current_user OR r.rolsuper "
    "OR EXISTS (SELECT FROM pg_roles o WHERE o.rolname = '{1}' AND pg_has_role(r.oid, o.oid, 'MEMBER'))";
// Whether the privilege of the aclexplode row a is one that the RLS roles
// may hold on a relation of the home schema, or be given by default
// privileges: rows to read and write, and a sequence to use (`kind`, a
// relkind or a defaclobjtype, is 'S' for a sequence). TRUNCATE passes
// row-level security by, TRIGGER runs a function as whoever writes next,
// and REFERENCES lets a key elsewhere hold rows in place.
std::string row_privilege(std::string_view kind) {
  return "(a.privilege_type IN ('SELECT', 'INSERT', 'UPDATE', 'DELETE') OR " + text(kind) +
         " = 'S' AND a.privilege_type = 'USAGE')";
}

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

std::string refuse_privileged_role_sql(std::string_view role, std::string_view across_projects) {
  return format_template(
      "DO $$ DECLARE holder name; powers text; "
      "rule text := 'a row-level-security role must not have LOGIN, nor hold, directly or through a role it is a "
      "member of, any of SUPERUSER, BYPASSRLS, CREATEROLE, CREATEDB, REPLICATION and ADMIN OPTION, nor be a member of "
      "pg_execute_server_program, pg_read_server_files or pg_write_server_files'; "
      "memberships text := 'a row-level-security role must be a member of no role but, for the across-projects role "
      "{1}, {2}'; BEGIN "
      "IF EXISTS (SELECT FROM pg_roles WHERE rolname = '{0}') THEN "
      "SELECT rolname, holds INTO holder, powers FROM (SELECT r.rolname, concat_ws(', ', "
      "CASE WHEN r.rolcanlogin AND r.rolname = '{0}' THEN 'LOGIN' END, "
      "CASE WHEN r.rolsuper THEN 'SUPERUSER' END, CASE WHEN r.rolbypassrls THEN 'BYPASSRLS' END, "
      "CASE WHEN r.rolcreaterole THEN 'CREATEROLE' END, CASE WHEN r.rolcreatedb THEN 'CREATEDB' END, "
      "CASE WHEN r.rolreplication THEN 'REPLICATION' END, "
      "(SELECT 'ADMIN OPTION on ' || string_agg(g.rolname, ', ' ORDER BY g.rolname) FROM pg_auth_members m "
      "JOIN pg_roles g ON g.oid = m.roleid WHERE m.member = r.oid AND m.admin_option)) AS holds "
      "FROM pg_roles r WHERE pg_has_role('{0}', r.oid, 'MEMBER')) reached "
      "WHERE holds <> '' OR rolname IN ('pg_execute_server_program', 'pg_read_server_files', 'pg_write_server_files') "
      "ORDER BY rolname <> '{0}', rolname LIMIT 1; "
      "IF holder = '{0}' THEN RAISE EXCEPTION 'role % has %; %', '{0}', powers, rule; "
      "ELSIF powers <> '' THEN RAISE EXCEPTION 'role % is a member of %, which has %; %', '{0}', holder, powers, rule; "
      "ELSIF holder IS NOT NULL THEN RAISE EXCEPTION 'role % is a member of %; %', '{0}', holder, rule; "
      "END IF; "
      "SELECT g.rolname INTO holder FROM pg_auth_members m JOIN pg_roles r ON r.oid = m.member "
      "JOIN pg_roles g ON g.oid = m.roleid WHERE r.rolname = '{0}' AND NOT (r.rolname = '{1}' AND g.rolname = '{2}') "
      "ORDER BY g.rolname LIMIT 1; "
      "IF holder IS NOT NULL THEN RAISE EXCEPTION 'role % is a member of %; %', '{0}', holder, memberships; "
      "END IF; END IF; END $$",
      {text(role), text(across_projects), text(kAcrossProjectsGroup)});
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

std::string refuse_shared_role_sql(std::string_view role, std::string_view schema) {
  return format_template(
      std::string("DO $$ DECLARE place text; BEGIN "
                  "IF EXISTS (SELECT FROM pg_roles WHERE rolname = '{0}') THEN SELECT ") +
          kDependencyPlace + " INTO place " + kDependenciesOfRole +
          "CROSS JOIN LATERAL (SELECT CASE WHEN d.dbid <> here.oid THEN NULL "
          "WHEN d.classid = 'pg_namespace'::regclass THEN (SELECT nspname FROM pg_namespace WHERE oid = d.objid) "
          "WHEN d.classid = 'pg_policy'::regclass THEN (SELECT n.nspname FROM pg_policy p JOIN pg_class c "
          "ON c.oid = p.polrelid JOIN pg_namespace n ON n.oid = c.relnamespace WHERE p.oid = d.objid) "
          "WHEN d.classid = 'pg_default_acl'::regclass THEN (SELECT n.nspname FROM pg_default_acl a JOIN pg_namespace "
          "n ON n.oid = a.defaclnamespace WHERE a.oid = d.objid) "
          "ELSE (pg_identify_object(d.classid, d.objid, d.objsubid)).schema END AS nspname) object_schema "
          "WHERE d.refclassid = 'pg_authid'::regclass AND r.rolname = '{0}' "
          "AND object_schema.nspname IS DISTINCT FROM '{1}' "
          "AND NOT (d.dbid = 0 AND d.objid = here.oid AND " +
          kOnlyDatabaseAccess +
          ") "
          "ORDER BY d.classid <> 'pg_namespace'::regclass, 1 LIMIT 1; "
          // Provisioning makes each deployment's owner a direct member of
          // its RLS roles, and a role that owns a schema other than this
          // home schema is taken for another deployment's owner. Members at
          // any depth would take in the administrators of the owner.
          "IF place IS NULL THEN SELECT format('has the member %s, which owns %s', r.rolname, "
          "CASE WHEN d.dbid = here.oid THEN pg_describe_object(d.classid, d.objid, 0) "
          "ELSE 'a schema of database ' || coalesce(other.datname::text, d.dbid::text) END) INTO place " +
          kDependenciesOfRole +
          "JOIN pg_auth_members m ON m.member = r.oid JOIN pg_roles g ON g.oid = m.roleid "
          "WHERE d.refclassid = 'pg_authid'::regclass AND g.rolname = '{0}' "
          "AND d.classid = 'pg_namespace'::regclass AND d.deptype = 'o' "
          "AND (d.dbid <> here.oid OR d.objid IS DISTINCT FROM (SELECT oid FROM pg_namespace WHERE nspname = '{1}')) "
          "ORDER BY d.dbid <> here.oid, 1 LIMIT 1; END IF; "
          "IF place IS NOT NULL THEN RAISE EXCEPTION 'role % already serves another deployment: it %; an existing "
          "in-project or across-projects role may own, hold privileges on and be named in policies of objects of the "
          "home schema % of this database alone, hold nothing but CONNECT and TEMPORARY on this database, and have no "
          "direct member that owns another schema', "
          "'{0}', place, '{1}'; "
          "END IF; END IF; END $$",
      {text(role), text(schema)});
}

std::string refuse_across_projects_group_holdings_sql() {
  return format_template(
      std::string("DO $$ DECLARE place text; BEGIN "
                  "IF EXISTS (SELECT FROM pg_roles WHERE rolname = '{0}') THEN SELECT ") +
          kDependencyPlace + " INTO place " + kDependenciesOfRole +
          "WHERE d.refclassid = 'pg_authid'::regclass AND r.rolname = '{0}' "
          "AND NOT (d.deptype = 'r' AND d.classid = 'pg_policy'::regclass) AND NOT " +
          kOnlyDatabaseAccess +
          " ORDER BY 1 LIMIT 1; "
          "IF place IS NOT NULL THEN RAISE EXCEPTION 'role % %; the group role %, which the policies of every "
          "deployment name and whose privileges the owner and the across-projects logins of every deployment hold, "
          "may be named in policies and hold CONNECT and TEMPORARY on databases, and nothing else', "
          "'{0}', place, '{0}'; "
          "END IF; END IF; END $$",
      {text(kAcrossProjectsGroup)});
}

std::string refuse_schema_named_after_role_sql(std::string_view schema, std::string_view owner,
                                               std::string_view in_project, std::string_view across_projects) {
  return format_template(
      "DO $$ BEGIN IF EXISTS (SELECT FROM pg_roles WHERE rolname = '{0}' AND rolname NOT IN ('{1}', '{2}', '{3}')) "
      "THEN RAISE EXCEPTION 'schema % has the name of the existing role %, whose sessions search the schema of their "
      "own name first; the home schema may share its name only with the owner % or a row-level-security role "
      "(% or %)', '{0}', '{0}', '{1}', '{2}', '{3}'; END IF; END $$",
      {text(schema), text(owner), text(in_project), text(across_projects)});
}

std::string refuse_foreign_schema_sql(std::string_view schema, std::string_view owner) {
  return format_template(
      std::string("DO $$ DECLARE allowed oid[]; holder name; found text; "
                  "rule text := 'the home schema must be new, or it and its objects must belong to, and CREATE on "
                  "it be held only by, the owner {1}, a role that is a member of it, this administrator or a "
                  "superuser'; BEGIN ") +
          kAllowedRoles +
          "; "
          "SELECT r.rolname INTO holder FROM pg_namespace n JOIN pg_roles r ON r.oid = n.nspowner "
          "WHERE n.nspname = '{0}' AND r.oid <> ALL (allowed); "
          "IF holder IS NOT NULL THEN RAISE EXCEPTION 'schema % already exists and belongs to %; %', '{0}', holder, "
          "rule; "
          "END IF; "
          "SELECT pg_describe_object(o.catalog, o.oid, 0), r.rolname INTO found, holder FROM ("
          "SELECT 'pg_class'::regclass, oid, relowner, relnamespace FROM pg_class "
          "UNION ALL SELECT 'pg_proc'::regclass, oid, proowner, pronamespace FROM pg_proc "
          "UNION ALL SELECT 'pg_type'::regclass, oid, typowner, typnamespace FROM pg_type "
          "UNION ALL SELECT 'pg_operator'::regclass, oid, oprowner, oprnamespace FROM pg_operator "
          "UNION ALL SELECT 'pg_opclass'::regclass, oid, opcowner, opcnamespace FROM pg_opclass "
          "UNION ALL SELECT 'pg_opfamily'::regclass, oid, opfowner, opfnamespace FROM pg_opfamily "
          "UNION ALL SELECT 'pg_collation'::regclass, oid, collowner, collnamespace FROM pg_collation "
          "UNION ALL SELECT 'pg_conversion'::regclass, oid, conowner, connamespace FROM pg_conversion "
          "UNION ALL SELECT 'pg_ts_dict'::regclass, oid, dictowner, dictnamespace FROM pg_ts_dict "
          "UNION ALL SELECT 'pg_ts_config'::regclass, oid, cfgowner, cfgnamespace FROM pg_ts_config "
          "UNION ALL SELECT 'pg_statistic_ext'::regclass, oid, stxowner, stxnamespace FROM pg_statistic_ext"
          ") o (catalog, oid, owner, namespace) JOIN pg_namespace n ON n.oid = o.namespace "
          "JOIN pg_roles r ON r.oid = o.owner WHERE n.nspname = '{0}' AND o.owner <> ALL (allowed) "
          "ORDER BY 1 LIMIT 1; "
          "IF found IS NOT NULL THEN RAISE EXCEPTION 'schema % holds %, which belongs to %; %', '{0}', found, holder, "
          "rule; END IF; "
          "SELECT coalesce(r.rolname, 'PUBLIC') INTO holder FROM pg_namespace n CROSS JOIN LATERAL "
          "aclexplode(n.nspacl) a "
          "LEFT JOIN pg_roles r ON r.oid = a.grantee WHERE n.nspname = '{0}' AND a.privilege_type = 'CREATE' "
          "AND a.grantee <> ALL (allowed) ORDER BY 1 LIMIT 1; "
          "IF holder IS NOT NULL THEN RAISE EXCEPTION 'schema % grants CREATE to %; %', '{0}', holder, rule; "
          "END IF; END $$",
      {text(schema), text(owner)});
}

std::string refuse_schema_grants_sql(std::string_view schema, std::string_view owner, std::string_view in_project,
                                     std::string_view across_projects) {
  return format_template(
      std::string(
          "DO $$ DECLARE allowed oid[]; found text; "
          "rule text := 'nothing of the home schema may reach a role outside the deployment: USAGE on it, and the "
          "default privileges on tables, sequences and schemas in it or of the owner {1} and this administrator, may "
          "go only to the owner, a role that is a member of it, this administrator, a superuser and the "
          "row-level-security roles {2} and {3}, and to these two only as SELECT, INSERT, UPDATE and DELETE on tables "
          "and USAGE, SELECT and UPDATE on sequences'; BEGIN ") +
          kAllowedRoles + " OR r.rolname IN ('{2}', '{3}'); " +
          "SELECT coalesce(r.rolname, 'PUBLIC') INTO found FROM pg_namespace n CROSS JOIN LATERAL aclexplode(n.nspacl) "
          "a "
          "LEFT JOIN pg_roles r ON r.oid = a.grantee WHERE n.nspname = '{0}' AND a.privilege_type = 'USAGE' "
          "AND a.grantee <> ALL (allowed) ORDER BY 1 LIMIT 1; "
          "IF found IS NOT NULL THEN RAISE EXCEPTION 'schema % grants USAGE to %; %', '{0}', found, rule; END IF; "
          "SELECT format('the default privileges of %s %s grant %s on %s to %s', creator.rolname, "
          "CASE WHEN d.defaclnamespace = 0 THEN 'in the whole database' ELSE 'in it' END, "
          "string_agg(a.privilege_type, ', ' ORDER BY a.privilege_type), "
          "CASE d.defaclobjtype WHEN 'r' THEN 'new tables' WHEN 'S' THEN 'new sequences' ELSE 'new schemas' END, "
          "coalesce(g.rolname, 'PUBLIC')) INTO found "
          "FROM pg_default_acl d JOIN pg_roles creator ON creator.oid = d.defaclrole "
          "LEFT JOIN pg_namespace n ON n.oid = d.defaclnamespace CROSS JOIN LATERAL aclexplode(d.defaclacl) a "
          "LEFT JOIN pg_roles g ON g.oid = a.grantee "
          "WHERE (a.grantee <> ALL (allowed) OR g.rolname IN ('{2}', '{3}') AND NOT " +
          row_privilege("d.defaclobjtype") +
          ") "
          "AND (d.defaclobjtype IN ('r', 'S') AND (n.nspname = '{0}' "
          "OR d.defaclnamespace = 0 AND creator.rolname IN ('{1}', current_user)) "
          "OR d.defaclobjtype = 'n' AND d.defaclnamespace = 0 AND creator.rolname = '{1}') "
          "GROUP BY d.oid, creator.rolname, a.grantee, g.rolname ORDER BY 1 LIMIT 1; "
          "IF found IS NOT NULL THEN RAISE EXCEPTION 'schema %: %; %', '{0}', found, rule; END IF; END $$",
      {text(schema), text(owner), text(in_project), text(across_projects)});
}

std::string refuse_outside_relation_grants_sql(std::string_view schema, std::string_view in_project,
                                               std::string_view across_projects) {
  return format_template(
      "DO $$ DECLARE found text; BEGIN "
      "SELECT format('%s grants %s to %s', pg_describe_object('pg_class'::regclass, c.oid, acl.attnum), "
      "string_agg(a.privilege_type, ', ' ORDER BY a.privilege_type), coalesce(g.rolname, 'PUBLIC')) INTO found "
      "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
      "CROSS JOIN LATERAL (SELECT 0 AS attnum, c.relacl AS items UNION ALL SELECT attnum, attacl FROM pg_attribute "
      "WHERE attrelid = c.oid AND attacl IS NOT NULL) acl CROSS JOIN LATERAL aclexplode(acl.items) a "
      "LEFT JOIN pg_roles g ON g.oid = a.grantee "
      "WHERE n.nspname = '{0}' AND a.grantee NOT IN (c.relowner, n.nspowner) "
      "AND (g.rolname IS NULL OR g.rolname NOT IN ('{1}', '{2}') OR NOT " +
          row_privilege("c.relkind") +
          ") "
          "GROUP BY c.oid, acl.attnum, a.grantee, g.rolname ORDER BY 1 LIMIT 1; "
          "IF found IS NOT NULL THEN RAISE EXCEPTION '%; a relation of the home schema % may grant privileges only to "
          "its own owner, the owner of the schema and the row-level-security roles % and %, and these two only SELECT, "
          "INSERT, UPDATE and DELETE, and USAGE on a sequence', found, '{0}', '{1}', '{2}'; "
          "END IF; END $$",
      {text(schema), text(in_project), text(across_projects)});
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
