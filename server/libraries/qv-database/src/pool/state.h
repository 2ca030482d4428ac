#pragma once

// The state of a database as this build reads it: rows of the system table
// "quorvale_system" and the PostgreSQL version, with the checks that compare
// them with the build.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "error/db_error.h"
#include "pool/pool.h"
#include "result.h"
#include "schema/source.h"
#include "sea_query/executor.h"
#include "sqlbuilder/select.h"

namespace pool::state {

template <typename T>
using Result = qv_common::Result<T, error::DbError>;

using schema::source::Version;

inline constexpr std::string_view kQuorvaleVersionRow = "quorvale_version";
inline constexpr std::string_view kDbVersionRow = "db_version";
inline constexpr std::string_view kEditionRow = "edition";
inline constexpr std::int64_t kSystemLayoutVersion = 2;
inline constexpr std::int32_t kMinServerVersion = 150000;

// SELECT "value" FROM "quorvale_system" WHERE "name" = $1 ($1 `name`).
sqlbuilder::Select system_value_query(std::string_view name);

// SELECT CAST(current_setting($1) AS int) ($1 "server_version_num").
sqlbuilder::Select server_version_query();

// SELECT "value" FROM "quorvale_system" WHERE "name" = $1: the row's value,
// none without the row; failures as map_system_db_error makes them.
Result<std::optional<std::string>> read_system_value(const sea_query::executor::SeaExecutor& executor,
                                                     std::string_view name);

// A missing table (42P01) is 5000, without the client's error; any other
// failure is 5009 with it.
error::DbError map_system_db_error(connection::Error client);

// The digits of an unsigned decimal integer that fits a Version; none for
// any other text.
std::optional<Version> parse_version(std::string_view text);

// The "db_version" row as a number: none without the row, 5003 for a text
// that is not one.
Result<std::optional<Version>> db_version(const sea_query::executor::SeaExecutor& executor);

// The steps of the state check; each fails with its own code (see the
// serving pool's check for their order).
Result<void> check_quorvale_version(const Pool& pool);
Result<void> check_db_version(const Pool& pool, Version build);
Result<void> check_quorvale_edition(const Pool& pool);
Result<void> check_pg_min_version(const Pool& pool);

}  // namespace pool::state
