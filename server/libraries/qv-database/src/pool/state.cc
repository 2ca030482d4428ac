#include "pool/state.h"

#include <charconv>
#include <utility>

#include "edition/edition.h"
#include "schema/quorvale_system.h"
#include "sea_query/catalog.h"
#include "sqlbuilder/select.h"

namespace pool::state {
namespace {

using edition::QuorvaleEdition;
using schema::QuorvaleSystem;
using sea_query::executor::PoolExecutor;
using sea_query::executor::SeaExecutor;

// Absent stays absent; present must be a version number.
Result<std::optional<Version>> parsed_row(std::string_view row, const std::optional<std::string>& value) {
  if (!value) return std::optional<Version>();
  std::optional<Version> version = parse_version(*value);
  if (!version) return qv_common::fail(error::invalid_system_value(error::integer_value_message(row, *value)));
  return version;
}

}  // namespace

sqlbuilder::Select system_value_query(std::string_view name) {
  sqlbuilder::Select select;
  select.expr(sqlbuilder::col(QuorvaleSystem::Value))
      .from(QuorvaleSystem::Table)
      .and_where(sqlbuilder::col(QuorvaleSystem::Name).eq(sqlbuilder::val(std::string(name))));
  return select;
}

sqlbuilder::Select server_version_query() {
  sqlbuilder::Select select;
  select.expr(sqlbuilder::cast(sea_query::catalog::current_setting("server_version_num"), "int"));
  return select;
}

Result<std::optional<std::string>> read_system_value(const SeaExecutor& executor, std::string_view name) {
  auto value = executor.run(system_value_query(name), &sea_query::op::fetch_optional_scalar<std::string>).get();
  if (!value) return qv_common::fail(map_system_db_error(std::move(value).error()));
  return std::move(value).value();
}

error::DbError map_system_db_error(connection::Error client) {
  if (client.kind == connection::ErrorKind::Server && client.sqlstate == "42P01") return error::system_table_missing();
  return error::read_failed(std::move(client));
}

std::optional<Version> parse_version(std::string_view text) {
  Version version = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return version;
}

Result<std::optional<Version>> db_version(const SeaExecutor& executor) {
  QV_ASSIGN_OR_RETURN(std::optional<std::string> value, read_system_value(executor, kDbVersionRow));
  return parsed_row(kDbVersionRow, value);
}

Result<void> check_quorvale_version(const Pool& pool) {
  QV_ASSIGN_OR_RETURN(std::optional<std::string> value, read_system_value(PoolExecutor(pool), kQuorvaleVersionRow));
  QV_ASSIGN_OR_RETURN(std::optional<Version> layout, parsed_row(kQuorvaleVersionRow, value));
  // Layouts before the row existed count as 1.
  std::int64_t found = layout.value_or(1);
  if (found != kSystemLayoutVersion) return qv_common::fail(error::system_layout(found, kSystemLayoutVersion));
  return {};
}

Result<void> check_db_version(const Pool& pool, Version build) {
  auto stored = db_version(PoolExecutor(pool));
  if (!stored && stored.error().code != error::DbCode::SystemTableMissing) return qv_common::fail(stored.error());
  if (!stored || !*stored) {
    return qv_common::fail(error::invalid_system_value(
        error::missing_row_message(kDbVersionRow, to_string(QuorvaleSystem::Table))));
  }
  Version version = **stored;
  if (version > build) return qv_common::fail(error::version_ahead(std::to_string(version)));
  if (version < build) return qv_common::fail(error::outdated(error::version_message(version, build)));
  return {};
}

Result<void> check_quorvale_edition(const Pool& pool) {
  QV_ASSIGN_OR_RETURN(std::optional<std::string> stored, read_system_value(PoolExecutor(pool), kEditionRow));
  const QuorvaleEdition build;
  const std::string marker(QuorvaleEdition::kMarker);
  if (!stored) return qv_common::fail(error::outdated(error::undefined_edition_message(marker)));
  if (!build.is_compatible(*stored)) return qv_common::fail(error::edition_incompatible(*stored, marker));
  if (build.requires_upgrade(*stored)) return qv_common::fail(error::outdated(error::edition_message(*stored, marker)));
  return {};
}

Result<void> check_pg_min_version(const Pool& pool) {
  auto found = PoolExecutor(pool).run(server_version_query(), &sea_query::op::fetch_optional_scalar<std::int32_t>).get();
  if (!found) return qv_common::fail(error::read_failed(std::move(found).error()));
  std::int32_t version = found->value_or(0);
  if (version < kMinServerVersion) return qv_common::fail(error::server_too_old(version, kMinServerVersion));
  return {};
}

}  // namespace pool::state
