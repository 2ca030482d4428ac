#include "connection/savepoint.h"

namespace connection {
namespace {

constexpr std::string_view kOpen = "SAVEPOINT qv_savepoint";
constexpr std::string_view kRelease = "RELEASE SAVEPOINT qv_savepoint";
constexpr std::string_view kRollback = "ROLLBACK TO SAVEPOINT qv_savepoint; RELEASE SAVEPOINT qv_savepoint";

}  // namespace

qv_common::Result<Savepoint, Error> Savepoint::open(Connection& connection) {
  QV_RETURN_IF_ERROR(connection.execute_script(kOpen));
  return Savepoint(connection);
}

Savepoint::~Savepoint() {
  if (connection_ != nullptr) (void)finish(kRollback);
}

qv_common::Result<void, Error> Savepoint::release() { return finish(kRelease); }

qv_common::Result<void, Error> Savepoint::rollback() { return finish(kRollback); }

qv_common::Result<void, Error> Savepoint::finish(std::string_view commands) {
  Connection* connection = std::exchange(connection_, nullptr);
  return connection->execute_script(commands);
}

}  // namespace connection
