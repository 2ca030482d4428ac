#include "connection/pg_connection_ext.h"

namespace connection {

qv_common::Result<void, Error> execute_batch(Connection& connection, const std::vector<std::string>& statements) {
  for (const std::string& statement : statements) QV_RETURN_IF_ERROR(connection.execute(statement));
  return {};
}

qv_common::Result<void, Error> set_local_secret(Connection& connection, std::string_view name,
                                                std::string_view value) {
  QV_RETURN_IF_ERROR(
      connection.execute("SELECT set_config($1, $2, true)", {std::string(name), std::string(value)}));
  return {};
}

}  // namespace connection
