#include "sea_query/op.h"

#include <charconv>
#include <string_view>
#include <utility>

namespace sea_query::op {
namespace {

using connection::Error;
using connection::ErrorKind;
using connection::QueryResult;

Error decode_error(std::string message) { return connection::client_error(ErrorKind::Decode, std::move(message)); }

template <typename T>
bool has_type_of(Oid type);

template <>
bool has_type_of<bool>(Oid type) {
  return type == connection::type_oid::kBool;
}

template <>
bool has_type_of<std::int32_t>(Oid type) {
  return type == connection::type_oid::kInt4;
}

template <>
bool has_type_of<std::string>(Oid type) {
  namespace oid = connection::type_oid;
  return type == oid::kText || type == oid::kVarchar || type == oid::kBpchar || type == oid::kName;
}

template <typename T>
Result<T> parse(std::string_view text);

template <>
Result<bool> parse<bool>(std::string_view text) {
  if (text == "t") return true;
  if (text == "f") return false;
  return qv_common::fail(decode_error("not a boolean: " + std::string(text)));
}

template <>
Result<std::int32_t> parse<std::int32_t>(std::string_view text) {
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return qv_common::fail(decode_error("not a 32-bit integer: " + std::string(text)));
  }
  return value;
}

template <>
Result<std::string> parse<std::string>(std::string_view text) {
  return std::string(text);
}

// The first column of the first row of `result`, which has a row.
template <typename T>
Result<T> decode_first(const QueryResult& result) {
  if (result.column_count() == 0) return qv_common::fail(decode_error("the statement returns no column"));
  if (!has_type_of<T>(result.column_type(0))) {
    return qv_common::fail(decode_error("column \"" + std::string(result.column_name(0)) + "\" has type OID " +
                                        std::to_string(result.column_type(0)) + ", not the one asked for"));
  }
  std::optional<std::string_view> value = result.value(0, 0);
  if (!value) return qv_common::fail(decode_error("column \"" + std::string(result.column_name(0)) + "\" is NULL"));
  return parse<T>(*value);
}

}  // namespace

template <typename T>
Result<std::optional<T>> fetch_optional_scalar(std::string sql, std::vector<connection::Param> values,
                                               connection::Connection& connection) {
  QV_ASSIGN_OR_RETURN(QueryResult result, connection.execute(sql, values));
  if (result.row_count() == 0) return std::optional<T>();
  QV_ASSIGN_OR_RETURN(T value, decode_first<T>(result));
  return std::optional<T>(std::move(value));
}

template <typename T>
Result<T> fetch_one_scalar(std::string sql, std::vector<connection::Param> values,
                           connection::Connection& connection) {
  QV_ASSIGN_OR_RETURN(std::optional<T> value, fetch_optional_scalar<T>(std::move(sql), std::move(values), connection));
  if (!value) return qv_common::fail(connection::client_error(ErrorKind::RowNotFound, "no rows returned"));
  return std::move(*value);
}

Result<std::uint64_t> execute(std::string sql, std::vector<connection::Param> values,
                              connection::Connection& connection) {
  QV_ASSIGN_OR_RETURN(QueryResult result, connection.execute(sql, values));
  return result.rows_affected();
}

template Result<std::optional<bool>> fetch_optional_scalar<bool>(std::string, std::vector<connection::Param>,
                                                                 connection::Connection&);
template Result<std::optional<std::int32_t>> fetch_optional_scalar<std::int32_t>(std::string,
                                                                                 std::vector<connection::Param>,
                                                                                 connection::Connection&);
template Result<std::optional<std::string>> fetch_optional_scalar<std::string>(std::string,
                                                                               std::vector<connection::Param>,
                                                                               connection::Connection&);
template Result<bool> fetch_one_scalar<bool>(std::string, std::vector<connection::Param>, connection::Connection&);

}  // namespace sea_query::op
