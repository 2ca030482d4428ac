#pragma once

// A savepoint inside a transaction block: a statement that fails after it can
// be undone without aborting the whole transaction. Unless released, the
// savepoint is rolled back to when it goes out of scope.

#include "connection/connection.h"

namespace connection {

class Savepoint {
 public:
  // Sends SAVEPOINT. Savepoints nest; each guard acts on the newest one.
  static qv_common::Result<Savepoint, Error> open(Connection& connection);

  Savepoint(Savepoint&& other) noexcept : connection_(std::exchange(other.connection_, nullptr)) {}
  Savepoint& operator=(Savepoint&&) = delete;
  ~Savepoint();

  // Keeps what was done since the savepoint.
  qv_common::Result<void, Error> release();
  // Undoes what was done since the savepoint, including a failed statement,
  // and leaves the transaction usable.
  qv_common::Result<void, Error> rollback();

 private:
  explicit Savepoint(Connection& connection) : connection_(&connection) {}
  qv_common::Result<void, Error> finish(std::string_view commands);

  Connection* connection_;  // none once released or rolled back
};

}  // namespace connection
