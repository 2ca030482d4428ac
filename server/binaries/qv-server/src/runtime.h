#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "result.h"

namespace qv_server::runtime {

// The environment variable that sets the number of worker threads.
inline constexpr const char* kWorkerThreadsVariable = "TOKIO_WORKER_THREADS";

// Reads a worker count: an unsigned decimal integer above 0. The error names
// the variable and the fault.
qv_common::Result<std::size_t, std::string> parse_worker_count(std::string_view value);

// The worker count set by the environment, or the available parallelism (1
// when unknown). An invalid setting aborts the process.
std::size_t worker_count_from_environment();

// A pool of worker threads owned by the entry point. Nothing is ever spawned
// onto it, so the workers stay idle until the pool is released, which stops
// and joins them. The blocked-on body runs on the calling thread.
class Runtime {
 public:
  // Starts `workers` threads; a thread that cannot be started aborts the process.
  explicit Runtime(std::size_t workers);
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  std::size_t worker_count() const { return workers_.size(); }

  template <typename Body>
  auto block_on(Body&& body) {
    return std::forward<Body>(body)();
  }

 private:
  void idle();

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace qv_server::runtime
