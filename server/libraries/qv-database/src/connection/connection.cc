#include "connection/connection.h"

namespace connection {
namespace {

struct ClearResult {
  void operator()(PGresult* result) const { PQclear(result); }
};
using OwnedResult = std::unique_ptr<PGresult, ClearResult>;

bool succeeded(const PGresult* result) {
  switch (PQresultStatus(result)) {
    case PGRES_COMMAND_OK:
    case PGRES_TUPLES_OK:
    case PGRES_EMPTY_QUERY:
      return true;
    default:
      return false;
  }
}

Error error_of(PGconn* connection, const PGresult* result) {
  if (result == nullptr) return error_of_connection(connection, ErrorKind::Io);
  if (PQresultStatus(result) == PGRES_COPY_IN || PQresultStatus(result) == PGRES_COPY_OUT) {
    return client_error(ErrorKind::Io, "COPY is not supported");
  }
  return error_of_result(result);
}

}  // namespace

qv_common::Result<QueryResult, Error> Connection::execute(std::string_view sql, const std::vector<Param>& params) {
  std::vector<Oid> types;
  std::vector<std::optional<std::string>> texts;
  types.reserve(params.size());
  texts.reserve(params.size());
  for (const Param& param : params) {
    types.push_back(type_of(param));
    texts.push_back(text_of(param));
  }
  std::vector<const char*> values;
  values.reserve(params.size());
  for (const std::optional<std::string>& text : texts) values.push_back(text ? text->c_str() : nullptr);

  OwnedResult result(PQexecParams(connection_.get(), std::string(sql).c_str(), static_cast<int>(params.size()),
                                  types.data(), values.data(), nullptr, nullptr, 0));
  if (!succeeded(result.get())) return qv_common::fail(error_of(connection_.get(), result.get()));
  return QueryResult(result.release());
}

qv_common::Result<void, Error> Connection::execute_script(std::string_view sql) {
  OwnedResult result(PQexec(connection_.get(), std::string(sql).c_str()));
  if (!succeeded(result.get())) return qv_common::fail(error_of(connection_.get(), result.get()));
  return {};
}

}  // namespace connection
