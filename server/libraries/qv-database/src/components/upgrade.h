#pragma once

// The schema upgrade: on a transaction the caller has opened, it takes the
// schema's upgrade lock, refuses row-level-security roles that provisioning
// would refuse (powers, memberships, another deployment), makes sure the
// system table exists, plans from the stored version, runs the catalog's
// statements, stamps the version and the edition, grants the
// row-level-security roles, and refuses relations that grant anything to a
// role outside the deployment, or more than rows to those roles. The caller
// commits on success and rolls back on failure, so either all of it stays or
// nothing.

#include <optional>
#include <string>
#include <vector>

#include "components/admin_pool.h"
#include "components/plan.h"
#include "config/schema.h"
#include "connection/connection.h"
#include "error/db_error.h"
#include "schema/source.h"
#include "sqlbuilder/insert.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/update.h"

namespace components::upgrade {

using admin_pool::Result;
using schema::source::Version;

class UpgradeTransaction {
 public:
  // `connection` is inside the caller's open transaction; `admin` gives the
  // home schema and the roles, and is refused without roles (kNoRoles).
  static qv_common::Result<UpgradeTransaction, std::string> open(connection::Connection& connection,
                                                                 const admin_pool::AdminPool& admin);

  connection::Connection& connection() const { return connection_; }
  const admin_pool::AdminPool& admin() const { return admin_; }
  // What the last upgrade on this transaction planned; none before planning.
  const std::optional<plan::RecordedPlan>& plan() const { return plan_; }

  // The steps of the upgrade, in the order `run_upgrade` takes them.
  Result<void> lock_schema_upgrades(const config::schema::Schema& schema);  // 5046 when held elsewhere
  // 5008, as provisioning refuses it, when an RLS role has LOGIN or a power
  // beyond row-level security, belongs to a role (but the across-projects
  // role to qv_across_projects), or serves another deployment: it owns,
  // holds or is named in anything outside the home schema of this database
  // but CONNECT and TEMPORARY on this database, or a direct member of it
  // owns another schema.
  Result<void> refuse_unsafe_roles(const config::schema::Schema& schema);
  Result<void> ensure_system_table();
  Result<void> upgrade_db_version(const schema::source::SchemaSource& source);
  Result<void> upgrade_quorvale_edition();
  Result<void> grant_rls_role_privileges(const config::schema::Schema& schema);
  // 5008 when a relation of the home schema grants anything to a role but
  // its owner, the schema's owner and the RLS roles, or those roles more
  // than SELECT, INSERT, UPDATE and DELETE (and USAGE on a sequence).
  Result<void> refuse_outside_grants(const config::schema::Schema& schema);

  // The first failing statement ends the batch: 5008. An empty batch sends nothing.
  Result<void> execute_batch(const std::vector<std::string>& statements);
  Result<void> set_db_version(Version version);

 private:
  UpgradeTransaction(connection::Connection& connection, const admin_pool::AdminPool& admin, admin_pool::RlsRoles roles)
      : connection_(connection), admin_(admin), roles_(std::move(roles)) {}

  Result<std::optional<Version>> read_db_version();
  Result<void> execute_refusals(std::vector<std::string> refusals);
  Result<void> migrate(const schema::source::SchemaSource& source, Version stored, const plan::Migrate& migrate);

  connection::Connection& connection_;
  const admin_pool::AdminPool& admin_;
  admin_pool::RlsRoles roles_;
  std::optional<plan::RecordedPlan> plan_;
};

// Every step of the upgrade, with the home schema of the transaction's pool.
Result<void> run_upgrade(UpgradeTransaction& transaction, const schema::source::SchemaSource& source);

// SELECT pg_catalog.pg_try_advisory_xact_lock(pg_catalog.hashtextextended($1, $2))
// ($1 "upgrade:schema:" and the schema, $2 the bigint 0). Qualified, and with
// the argument types of pg_catalog's functions, so that no function of the
// home schema matches better and runs with the administrator's powers.
sqlbuilder::Select lock_query(const config::schema::Schema& schema);
// INSERT INTO "quorvale_system" ("name", "value") VALUES ($1, $2) ON CONFLICT
// ("name") DO UPDATE SET "value" = "excluded"."value" ($1 "db_version").
sqlbuilder::Insert db_version_upsert(Version version);
// INSERT INTO "quorvale_system" ("name", "value") VALUES ($1, $2) ($1 "edition").
sqlbuilder::Insert edition_insert();
// UPDATE "quorvale_system" SET "value" = $1 WHERE "name" = $2 ($2 "edition").
sqlbuilder::Update edition_update();

}  // namespace components::upgrade
