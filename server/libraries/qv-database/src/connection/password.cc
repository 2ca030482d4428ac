#include "connection/password.h"

#include <memory>

namespace connection {

qv_common::Result<std::string, Error> encrypt_password(Connection& connection, std::string_view password,
                                                       std::string_view role) {
  std::unique_ptr<char, decltype(&PQfreemem)> encrypted(
      PQencryptPasswordConn(connection.native(), std::string(password).c_str(), std::string(role).c_str(),
                            "scram-sha-256"),
      &PQfreemem);
  if (!encrypted) return qv_common::fail(error_of_connection(connection.native(), ErrorKind::Io));
  return std::string(encrypted.get());
}

}  // namespace connection
