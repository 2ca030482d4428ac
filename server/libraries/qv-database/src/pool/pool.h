#pragma once

// A bounded pool of PostgreSQL sessions. A caller leases one session at a
// time; the lease gives it back when it ends, and the pool keeps it only when
// it is healthy and outside any transaction block, otherwise closes it.
// Copies of a Pool share its sessions; the sessions live as long as the last
// copy or lease.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "connection/connection.h"

namespace pool {

struct PoolOptions {
  std::size_t max_size = 10;
  std::chrono::milliseconds acquire_timeout{30'000};
  // Added to the connection string of every session, e.g. {"options", "-csearch_path=s"}.
  connection::Settings settings;
};

namespace detail {
struct Shared;
}

// One session, the caller's alone until the lease ends.
class Lease {
 public:
  Lease(Lease&&) noexcept = default;
  Lease& operator=(Lease&&) = delete;
  ~Lease();

  connection::Connection& operator*() { return *connection_; }
  connection::Connection* operator->() { return &*connection_; }

 private:
  friend class Pool;
  Lease(std::shared_ptr<detail::Shared> shared, connection::Connection connection)
      : shared_(std::move(shared)), connection_(std::move(connection)) {}

  std::shared_ptr<detail::Shared> shared_;  // none once moved from
  std::optional<connection::Connection> connection_;
};

class Pool {
 public:
  Pool(std::string conninfo, PoolOptions options);

  // An idle session, or a new one while fewer than max_size are open, or one
  // given back within the acquire timeout (else ErrorKind::PoolTimeout). A
  // session that cannot be opened fails the call with its connect error.
  qv_common::Result<Lease, connection::Error> acquire() const;

  // Sessions open now, leased or idle.
  std::size_t open_count() const;

 private:
  std::shared_ptr<detail::Shared> shared_;
};

}  // namespace pool
