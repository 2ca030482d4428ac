#pragma once

// The operations a statement runs with: each takes the SQL text, its bound
// values and a connection, runs the text once through the extended protocol,
// and decodes what the caller asked for. Failures are the client's error.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "connection/connection.h"
#include "connection/param.h"
#include "result.h"

namespace sea_query::op {

template <typename R>
using Result = qv_common::Result<R, connection::Error>;

// The first column of the first row, or none without a row; further rows are
// ignored. The column must have T's own PostgreSQL type (boolean; integer;
// text, varchar, char or name for text): any other type, or NULL, is an
// ErrorKind::Decode error. T is bool, std::int32_t or std::string.
template <typename T>
Result<std::optional<T>> fetch_optional_scalar(std::string sql, std::vector<connection::Param> values,
                                               connection::Connection& connection);

// Like fetch_optional_scalar, but no row is an ErrorKind::RowNotFound error.
template <typename T>
Result<T> fetch_one_scalar(std::string sql, std::vector<connection::Param> values,
                           connection::Connection& connection);

// The number of rows the statement affected; rows it returns are ignored.
Result<std::uint64_t> execute(std::string sql, std::vector<connection::Param> values,
                              connection::Connection& connection);

extern template Result<std::optional<bool>> fetch_optional_scalar<bool>(std::string, std::vector<connection::Param>,
                                                                        connection::Connection&);
extern template Result<std::optional<std::int32_t>> fetch_optional_scalar<std::int32_t>(
    std::string, std::vector<connection::Param>, connection::Connection&);
extern template Result<std::optional<std::string>> fetch_optional_scalar<std::string>(
    std::string, std::vector<connection::Param>, connection::Connection&);
extern template Result<bool> fetch_one_scalar<bool>(std::string, std::vector<connection::Param>,
                                                    connection::Connection&);

}  // namespace sea_query::op
