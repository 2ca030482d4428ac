#include "connection/transaction.h"

namespace connection {

qv_common::Result<Transaction, Error> Transaction::begin(Connection& connection) {
  QV_RETURN_IF_ERROR(connection.execute_script("BEGIN"));
  return Transaction(connection);
}

Transaction::~Transaction() {
  if (connection_ != nullptr) (void)finish("ROLLBACK");
}

qv_common::Result<void, Error> Transaction::commit() { return finish("COMMIT"); }

qv_common::Result<void, Error> Transaction::rollback() { return finish("ROLLBACK"); }

qv_common::Result<void, Error> Transaction::finish(std::string_view command) {
  Connection* connection = std::exchange(connection_, nullptr);
  return connection->execute_script(command);
}

}  // namespace connection
