#pragma once

// A transaction block on a connection that is rolled back unless committed.

#include "connection/connection.h"

namespace connection {

class Transaction {
 public:
  // Sends BEGIN.
  static qv_common::Result<Transaction, Error> begin(Connection& connection);

  Transaction(Transaction&& other) noexcept : connection_(std::exchange(other.connection_, nullptr)) {}
  Transaction& operator=(Transaction&&) = delete;
  // Rolls back unless committed or rolled back before; a failure to do so is
  // left to the connection's state (a pool closes a connection left in a block).
  ~Transaction();

  Connection& connection() const { return *connection_; }

  // Both end the block whatever their outcome: a failed COMMIT has rolled back.
  qv_common::Result<void, Error> commit();
  qv_common::Result<void, Error> rollback();

 private:
  explicit Transaction(Connection& connection) : connection_(&connection) {}
  qv_common::Result<void, Error> finish(std::string_view command);

  Connection* connection_;  // none once ended
};

}  // namespace connection
