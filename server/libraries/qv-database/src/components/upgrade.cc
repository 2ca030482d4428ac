#include "components/upgrade.h"

#include <ranges>
#include <utility>

#include "components/sql.h"
#include "connection/pg_connection_ext.h"
#include "connection/savepoint.h"
#include "edition/edition.h"
#include "pool/state.h"
#include "schema/quorvale_system.h"
#include "schema/render.h"
#include "sea_query/executor.h"

namespace components::upgrade {
namespace {

using edition::QuorvaleEdition;
using schema::QuorvaleSystem;
using schema::source::Delta;
using schema::source::SchemaSource;
using sea_query::executor::ConnectionExecutor;

constexpr std::string_view kLockKeyPrefix = "upgrade:schema:";

void append(std::vector<std::string>& texts, const std::vector<std::string>& more) {
  texts.insert(texts.end(), more.begin(), more.end());
}

// The steps to every target, asked for before any statement runs.
Result<std::vector<Delta>> deltas_of(const SchemaSource& source, Version stored, const plan::Migrate& migrate) {
  // There is no step to version 1: it is where the steps start from.
  if (stored == 0) {
    return qv_common::fail(
        error::invalid_system_value(error::cannot_migrate_message(stored, "no version step leads to version 1")));
  }
  std::vector<Delta> deltas;
  for (Version target : migrate.targets) {
    auto delta = source.delta(target);
    if (!delta) {
      return qv_common::fail(error::invalid_system_value(error::cannot_migrate_message(stored, delta.error())));
    }
    deltas.push_back(std::move(delta).value());
  }
  return deltas;
}

sqlbuilder::Insert system_row_insert(std::string_view name, std::string value) {
  sqlbuilder::Insert insert;
  insert.into(QuorvaleSystem::Table)
      .columns({QuorvaleSystem::Name, QuorvaleSystem::Value})
      .values({sqlbuilder::val(std::string(name)), sqlbuilder::val(std::move(value))});
  return insert;
}

}  // namespace

qv_common::Result<UpgradeTransaction, std::string> UpgradeTransaction::open(connection::Connection& connection,
                                                                            const admin_pool::AdminPool& admin) {
  QV_ASSIGN_OR_RETURN(admin_pool::RlsRoles roles, admin.roles());
  return UpgradeTransaction(connection, admin, std::move(roles));
}

Result<void> UpgradeTransaction::lock_schema_upgrades(const config::schema::Schema& schema) {
  auto locked = ConnectionExecutor(connection_).run(lock_query(schema), &sea_query::op::fetch_one_scalar<bool>).get();
  if (!locked) return qv_common::fail(error::write_failed(std::move(locked).error()));
  if (!*locked) return qv_common::fail(error::upgrade_locked(schema.to_string()));
  return {};
}

Result<void> UpgradeTransaction::refuse_unsafe_roles(const config::schema::Schema& schema) {
  const std::string& in_project = roles_.in_project();
  const std::string& across_projects = roles_.across_projects();
  return execute_refusals({sql::refuse_privileged_role_sql(in_project, across_projects),
                           sql::refuse_privileged_role_sql(across_projects, across_projects),
                           sql::refuse_shared_role_sql(in_project, schema.to_string()),
                           sql::refuse_shared_role_sql(across_projects, schema.to_string())});
}

Result<void> UpgradeTransaction::ensure_system_table() {
  return execute_batch({schema::render::render_schema(schema::create_system_table())});
}

Result<void> UpgradeTransaction::execute_batch(const std::vector<std::string>& statements) {
  auto ran = connection::execute_batch(connection_, statements);
  if (!ran) return qv_common::fail(error::write_failed(std::move(ran).error()));
  return {};
}

Result<void> UpgradeTransaction::set_db_version(Version version) {
  auto written = ConnectionExecutor(connection_).run_execute(db_version_upsert(version)).get();
  if (!written) return qv_common::fail(error::write_failed(std::move(written).error()));
  return {};
}

Result<void> UpgradeTransaction::upgrade_db_version(const SchemaSource& source) {
  const Version catalog = source.current_version();
  QV_ASSIGN_OR_RETURN(std::optional<Version> stored, read_db_version());
  plan_ = plan::RecordedPlan{plan::plan_upgrade(stored, catalog), catalog};
  const plan::UpgradeAction& action = plan_->action;
  if (std::holds_alternative<plan::Install>(action)) {
    QV_RETURN_IF_ERROR(execute_batch(schema::source::install_batch(source)));
    return set_db_version(catalog);
  }
  if (const auto* migrate_to = std::get_if<plan::Migrate>(&action)) return migrate(source, *stored, *migrate_to);
  if (const auto* ahead = std::get_if<plan::Ahead>(&action)) {
    return qv_common::fail(error::version_ahead(std::to_string(ahead->stored)));
  }
  return {};
}

// A missing system table counts as no row. The failed read would abort the
// caller's transaction, so it runs under a savepoint that undoes it.
Result<std::optional<Version>> UpgradeTransaction::read_db_version() {
  auto savepoint = connection::Savepoint::open(connection_);
  if (!savepoint) return qv_common::fail(error::read_failed(std::move(savepoint).error()));
  auto stored = pool::state::db_version(ConnectionExecutor(connection_));
  if (!stored && stored.error().code == error::DbCode::SystemTableMissing) {
    auto undone = savepoint->rollback();
    if (!undone) return qv_common::fail(error::read_failed(std::move(undone).error()));
    return std::optional<Version>();
  }
  if (!stored) return stored;
  auto released = savepoint->release();
  if (!released) return qv_common::fail(error::read_failed(std::move(released).error()));
  return stored;
}

// Retired objects newest step first and every derived object go first; then
// each step; then the version; then the derived objects again.
Result<void> UpgradeTransaction::migrate(const SchemaSource& source, Version stored, const plan::Migrate& migrate) {
  QV_ASSIGN_OR_RETURN(std::vector<Delta> deltas, deltas_of(source, stored, migrate));
  schema::source::DerivedScripts scripts = schema::source::derived_scripts(source);
  std::vector<std::string> pre;
  for (const Delta& delta : std::views::reverse(deltas)) append(pre, delta.retired);
  append(pre, scripts.drops);
  QV_RETURN_IF_ERROR(execute_batch(pre));
  for (const Delta& delta : deltas) QV_RETURN_IF_ERROR(execute_batch(delta.up));
  QV_RETURN_IF_ERROR(set_db_version(source.current_version()));
  return execute_batch(scripts.creates);
}

Result<void> UpgradeTransaction::upgrade_quorvale_edition() {
  QV_ASSIGN_OR_RETURN(std::optional<std::string> stored,
                      pool::state::read_system_value(ConnectionExecutor(connection_), pool::state::kEditionRow));
  const QuorvaleEdition build;
  const ConnectionExecutor executor(connection_);
  qv_common::Result<std::uint64_t, connection::Error> written = std::uint64_t{0};
  if (!stored) {
    written = executor.run_execute(edition_insert()).get();
  } else if (!build.is_compatible(*stored)) {
    return qv_common::fail(
        error::edition_not_upgradable(error::not_upgradable_message(*stored, QuorvaleEdition::kMarker)));
  } else if (build.requires_upgrade(*stored)) {
    written = executor.run(edition_update(), &sea_query::op::execute).get();
  }
  if (!written) return qv_common::fail(error::edition_write_failed(std::move(written).error()));
  return {};
}

Result<void> UpgradeTransaction::grant_rls_role_privileges(const config::schema::Schema& schema) {
  std::vector<std::string> grants = sql::grant_rls_role_privileges_sql(schema.to_string(), roles_.in_project());
  append(grants, sql::grant_rls_role_privileges_sql(schema.to_string(), roles_.across_projects()));
  return execute_batch(grants);
}

Result<void> UpgradeTransaction::refuse_outside_grants(const config::schema::Schema& schema) {
  return execute_refusals(
      {sql::refuse_outside_relation_grants_sql(schema.to_string(), roles_.in_project(), roles_.across_projects())});
}

// The refusals read the catalogs through functions that the owner's home
// schema, the search path of the upgrade, could capture: they run with a
// search path of pg_catalog alone, under a savepoint whose rollback brings
// the home schema's search path back (they change nothing else).
Result<void> UpgradeTransaction::execute_refusals(std::vector<std::string> refusals) {
  auto savepoint = connection::Savepoint::open(connection_);
  if (!savepoint) return qv_common::fail(error::write_failed(std::move(savepoint).error()));
  refusals.insert(refusals.begin(), std::string(sql::kCatalogOnlySearchPath));
  QV_RETURN_IF_ERROR(execute_batch(refusals));
  auto undone = savepoint->rollback();
  if (!undone) return qv_common::fail(error::write_failed(std::move(undone).error()));
  return {};
}

// The RLS roles are looked at before anything grants them a privilege, and
// the relations after every grant.
Result<void> run_upgrade(UpgradeTransaction& transaction, const SchemaSource& source) {
  const config::schema::Schema& schema = transaction.admin().schema();
  QV_RETURN_IF_ERROR(transaction.lock_schema_upgrades(schema));
  QV_RETURN_IF_ERROR(transaction.refuse_unsafe_roles(schema));
  QV_RETURN_IF_ERROR(transaction.ensure_system_table());
  QV_RETURN_IF_ERROR(transaction.upgrade_db_version(source));
  QV_RETURN_IF_ERROR(transaction.upgrade_quorvale_edition());
  QV_RETURN_IF_ERROR(transaction.grant_rls_role_privileges(schema));
  return transaction.refuse_outside_grants(schema);
}

sqlbuilder::Select lock_query(const config::schema::Schema& schema) {
  using sqlbuilder::func;
  using sqlbuilder::val;
  sqlbuilder::Select select;
  select.expr(func("pg_catalog.pg_try_advisory_xact_lock",
                   {func("pg_catalog.hashtextextended",
                         {val(std::string(kLockKeyPrefix) + schema.to_string()), val(std::int64_t{0})})}));
  return select;
}

sqlbuilder::Insert db_version_upsert(Version version) {
  sqlbuilder::Insert insert = system_row_insert(pool::state::kDbVersionRow, std::to_string(version));
  insert.on_conflict(sqlbuilder::OnConflict({QuorvaleSystem::Name}).update_columns({QuorvaleSystem::Value}));
  return insert;
}

sqlbuilder::Insert edition_insert() {
  return system_row_insert(pool::state::kEditionRow, std::string(QuorvaleEdition::kMarker));
}

sqlbuilder::Update edition_update() {
  sqlbuilder::Update update;
  update.table(QuorvaleSystem::Table)
      .set(QuorvaleSystem::Value, sqlbuilder::val(std::string(QuorvaleEdition::kMarker)))
      .and_where(sqlbuilder::col(QuorvaleSystem::Name).eq(sqlbuilder::val(std::string(pool::state::kEditionRow))));
  return update;
}

}  // namespace components::upgrade
