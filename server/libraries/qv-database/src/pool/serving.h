#pragma once

// QvPool, the serving pool of the API server: the sessions it serves
// requests with, and the reads of the state check that run on them.

#include <optional>
#include <string>
#include <string_view>

#include "config/schema.h"
#include "error/db_error.h"
#include "pool/pool.h"
#include "pool/state.h"
#include "sqlbuilder/select.h"

namespace pool::serving {

// The setting that names the in-project role to its sessions.
inline constexpr std::string_view kInProjectRoleSetting = "qv.in_project_role";
inline constexpr std::string_view kAcrossProjectsRole = "qv_across_projects";
// Membership at any depth, whether or not it inherits: a member can SET ROLE.
inline constexpr std::string_view kMember = "MEMBER";
// The predefined roles that read and write the server's files and run its
// programs.
inline constexpr std::string_view kServerFileRoles[] = {"pg_read_server_files", "pg_write_server_files",
                                                        "pg_execute_server_program"};

class QvPool {
 public:
  // Sessions with the search_path `home` and, when given, the setting
  // qv.in_project_role; a malformed conninfo is an ErrorKind::Connect error.
  static qv_common::Result<QvPool, connection::Error> open(std::string_view conninfo,
                                                           const config::schema::Schema& home,
                                                           std::optional<std::string> in_project_role,
                                                           PoolOptions options = {});

  const Pool& pool() const { return pool_; }

  state::Result<void> check_quorvale_version() const { return state::check_quorvale_version(pool_); }
  state::Result<void> check_db_version(state::Version build) const { return state::check_db_version(pool_, build); }
  state::Result<void> check_quorvale_edition() const { return state::check_quorvale_edition(pool_); }
  state::Result<void> check_pg_min_version() const { return state::check_pg_min_version(pool_); }
  // Neither the serving login, nor the role its sessions run as, nor a role
  // either is a member of has a power beyond serving (5021), and the
  // in-project role is not a member of qv_across_projects (5050). It reads
  // nothing of the home schema, so the check runs it first.
  state::Result<void> check_rls_posture() const;

 private:
  explicit QvPool(Pool pool) : pool_(std::move(pool)) {}
  Pool pool_;
};

// The posture queries call pg_catalog's functions and read its tables by
// name, with the functions' own argument types, so that nothing of the home
// schema, which the owner controls, nor a temporary table of the session, can
// answer in their place.

// SELECT "rolsuper" OR "rolbypassrls" OR "rolcreaterole" OR "rolreplication"
// OR "rolname" IN (CAST($1 AS name), ...) AS "beyond_serving" FROM
// "pg_catalog"."pg_roles" WHERE pg_catalog.pg_has_role(session_user, "oid", $4)
// OR pg_catalog.pg_has_role(current_user, "oid", $5) ORDER BY
// "beyond_serving" DESC LIMIT 1 ($1..$3 the server-file roles, $4, $5
// "MEMBER"): true when the login, or the role its sessions start as (a role
// setting may name one), or a role either is a member of is a superuser,
// bypasses row-level security, can create roles (and grant itself any
// predefined role), can replicate, or is a server-file role.
sqlbuilder::Select beyond_serving_query();

// SELECT pg_catalog.pg_has_role(CAST(pg_catalog.current_setting($1) AS name),
// CAST($2 AS name), $3) ($1 "qv.in_project_role", $2 "qv_across_projects", $3 "MEMBER").
sqlbuilder::Select in_project_across_projects_query();

}  // namespace pool::serving
