#pragma once

// The hand-written statements of provisioning and of the upgrade's grants
// and refusals, and the runner of a provisioning transaction. Names are written into the
// texts as they are, between the quotes the texts carry: callers pass only
// names that config::name accepts.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "error/db_error.h"
#include "pool/pool.h"
#include "result.h"

namespace components::sql {

inline constexpr std::string_view kAcrossProjectsGroup = "qv_across_projects";
inline constexpr std::string_view kOwnerPasswordSetting = "qv.owner_password";
// Functions that others created in the session's schemas (the home schema,
// which the owner controls) can neither capture a call nor run with the
// administrator's powers: only pg_catalog, and the session's own temporary
// schema last, are searched. Every refusal below runs under it.
inline constexpr std::string_view kCatalogOnlySearchPath = "SET LOCAL search_path = pg_catalog, pg_temp";

// Raises an exception naming `role` and what it holds when the role exists
// and has LOGIN, or has SUPERUSER, BYPASSRLS, CREATEROLE, CREATEDB,
// REPLICATION or ADMIN OPTION on a role, or is a member at any depth of a
// role that has one of them or of pg_execute_server_program,
// pg_read_server_files or pg_write_server_files: its members (the owner, the
// serving logins) could SET ROLE to that role, and a known password would log
// in as it. Raises one naming the role it belongs to when it is a member of
// any role at all, but for `across_projects` a member of qv_across_projects:
// its members would hold what that role holds.
std::string refuse_privileged_role_sql(std::string_view role, std::string_view across_projects);
// Raises an exception when the existing in-project role is a member at any
// depth of the across-projects role or of qv_across_projects: its logins
// could SET ROLE to a role that sees every project.
std::string refuse_in_project_membership_sql(std::string_view in_project, std::string_view across_projects);
// Raises an exception naming the role and one object that it owns, holds a
// privilege on or is named in a policy of, when that object lies outside
// `schema` of this database (in another database, or shared, such as a
// database or a tablespace): the role serves another deployment, whose
// rows the members of the role would reach. CONNECT and TEMPORARY on this
// database are no such use; any other privilege on it is. Raises one
// naming a direct member of the role and a schema it owns, here or in
// another database, other than `schema` of this database: provisioning
// makes each deployment's owner a member of its RLS roles, so that member
// is another deployment's owner, which would be granted these rows.
std::string refuse_shared_role_sql(std::string_view role, std::string_view schema);
// Raises an exception naming one object when the existing qv_across_projects
// owns it, holds a privilege on it or is named in it, other than a policy or
// CONNECT and TEMPORARY on a database: the owners and across-projects roles
// of every deployment hold what that role holds.
std::string refuse_across_projects_group_holdings_sql();
// Raises an exception when a role other than the deployment's own has the
// name of `schema`: its sessions, whose search path begins with "$user",
// would search the home schema, and call the owner's functions, first.
std::string refuse_schema_named_after_role_sql(std::string_view schema, std::string_view owner,
                                               std::string_view in_project, std::string_view across_projects);
// Raises an exception naming the schema and a role when `schema` exists and
// it, or an object in it, belongs to that role, or it grants CREATE to that
// role or to PUBLIC, unless the role is `owner`, a member of `owner`, the
// administrator or a superuser: another role could drop, replace or plant
// the schema's tables and functions, and own what it plants.
std::string refuse_foreign_schema_sql(std::string_view schema, std::string_view owner);
// Raises an exception naming the schema and a role when that role or PUBLIC
// holds USAGE on the existing `schema`, or is granted tables or sequences by
// default privileges in it or by the database-wide ones of `owner` or of the
// administrator (the roles whose sessions create the tables), or new schemas
// by the owner's, unless it is `owner`, a member of `owner`, the
// administrator, a superuser or one of the RLS roles: every table the
// upgrade creates would reach it. The RLS roles may be given SELECT, INSERT,
// UPDATE and DELETE, and USAGE on sequences, and nothing else: TRUNCATE and
// TRIGGER reach every project's rows past row-level security.
std::string refuse_schema_grants_sql(std::string_view schema, std::string_view owner, std::string_view in_project,
                                     std::string_view across_projects);
// Raises an exception naming a relation (or column) of `schema` and a role
// when the relation grants that role or PUBLIC anything, unless the role
// owns the relation or the schema, or is one of the RLS roles and holds
// nothing but SELECT, INSERT, UPDATE and DELETE, and USAGE on a sequence.
std::string refuse_outside_relation_grants_sql(std::string_view schema, std::string_view in_project,
                                               std::string_view across_projects);
// The owner login role, its password read from the setting `password_setting`.
std::string create_owner_role_sql(std::string_view owner, std::string_view password_setting);
// CREATE SCHEMA IF NOT EXISTS "<schema>" AUTHORIZATION "<owner>"
std::string create_schema_sql(std::string_view schema, std::string_view owner);
// The NOLOGIN group role that the across-projects policies name.
std::string create_across_projects_group_sql(std::string_view group);
std::string create_rls_role_sql(std::string_view role);
std::string grant_rls_role_membership_sql(std::string_view member, std::string_view role);
// Granting qv_across_projects may be refused; that only warns.
std::string grant_across_projects_membership_sql(std::string_view member);
// USAGE on the schema and the table privileges, now and for tables to come.
std::vector<std::string> grant_rls_role_privileges_sql(std::string_view schema, std::string_view role);

// A setting name and the secret it carries.
using Secret = std::pair<std::string, std::string>;

// BEGIN on a connection of `pool`; a search path of pg_catalog alone for the
// transaction; each secret as a transaction-local setting; the statements
// one by one; COMMIT. Any failure is 5008 with the client's
// error, from every text of which each secret's value has been removed; the
// transaction is then rolled back.
qv_common::Result<void, error::DbError> execute_batch_tx_with_secrets(const pool::Pool& pool,
                                                                      const std::vector<std::string>& statements,
                                                                      const std::vector<Secret>& secrets);

}  // namespace components::sql
