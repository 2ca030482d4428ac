#include "pool/pool.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace pool {
namespace detail {

struct Shared {
  std::string conninfo;
  PoolOptions options;
  std::mutex mutex;
  std::condition_variable freed;
  std::vector<connection::Connection> idle;
  std::size_t open = 0;
};

}  // namespace detail

using connection::Connection;
using connection::Error;
using connection::ErrorKind;

Lease::~Lease() {
  if (!shared_) return;
  bool reusable = connection_->healthy() && connection_->transaction_status() == PQTRANS_IDLE;
  if (reusable) {
    connection_->clear_notices();
    std::lock_guard lock(shared_->mutex);
    shared_->idle.push_back(std::move(*connection_));
  } else {
    connection_.reset();  // closed outside the lock
    std::lock_guard lock(shared_->mutex);
    --shared_->open;
  }
  shared_->freed.notify_one();
}

Pool::Pool(std::string conninfo, PoolOptions options)
    : shared_(std::make_shared<detail::Shared>()) {
  shared_->conninfo = std::move(conninfo);
  shared_->options = std::move(options);
}

qv_common::Result<Lease, Error> Pool::acquire() const {
  detail::Shared& shared = *shared_;
  std::unique_lock lock(shared.mutex);
  auto deadline = std::chrono::steady_clock::now() + shared.options.acquire_timeout;
  bool available = shared.freed.wait_until(
      lock, deadline, [&] { return !shared.idle.empty() || shared.open < shared.options.max_size; });
  if (!available) {
    return qv_common::fail(client_error(ErrorKind::PoolTimeout, "pool timed out while waiting for an open connection"));
  }
  if (!shared.idle.empty()) {
    Connection connection = std::move(shared.idle.back());
    shared.idle.pop_back();
    return Lease(shared_, std::move(connection));
  }
  ++shared.open;
  lock.unlock();
  auto connection = connection::connect(shared.conninfo, shared.options.settings);
  if (!connection) {
    lock.lock();
    --shared.open;
    lock.unlock();
    shared.freed.notify_one();
    return qv_common::fail(std::move(connection).error());
  }
  return Lease(shared_, std::move(connection).value());
}

std::size_t Pool::open_count() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->open;
}

}  // namespace pool
