#include "runtime.h"

#include <fmt/format.h>
#include <pthread.h>

#include <charconv>
#include <cstdlib>
#include <exception>
#include <new>
#include <source_location>
#include <system_error>

#include "panic.h"
#include "platform/utf8.h"

namespace qv_server::runtime {
namespace {

// Aborts as when the operating system refuses to start a worker thread.
[[noreturn]] void cannot_spawn(std::string_view cause,
                               std::source_location location = std::source_location::current()) {
  panic::abort_with(fmt::format("OS can't spawn worker thread: {}", cause), location);
}

// The cause a refused thread reports when the system lacks the resources.
std::string no_resources() { return std::make_error_code(std::errc::resource_unavailable_try_again).message(); }

}  // namespace

qv_common::Result<std::size_t, std::string> parse_worker_count(std::string_view value) {
  if (!platform::is_valid_utf8(value)) {
    return qv_common::fail(fmt::format("{} must be valid unicode", kWorkerThreadsVariable));
  }
  // Plain decimal digits only: no sign, no blanks; from_chars catches overflow.
  std::size_t count = 0;
  const bool digits_only =
      !value.empty() && value.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digits_only ||
      std::from_chars(value.data(), value.data() + value.size(), count).ec != std::errc()) {
    return qv_common::fail(
        fmt::format("{} must be a positive integer, got \"{}\"", kWorkerThreadsVariable, value));
  }
  if (count == 0) {
    return qv_common::fail(fmt::format("{} cannot be set to 0", kWorkerThreadsVariable));
  }
  return count;
}

std::size_t worker_count_from_environment() {
  if (const char* value = std::getenv(kWorkerThreadsVariable)) {
    auto count = parse_worker_count(value);
    if (!count) panic::abort_with(count.error());
    return *count;
  }
  const unsigned parallelism = std::thread::hardware_concurrency();
  return parallelism == 0 ? 1 : parallelism;
}

Runtime::Runtime(std::size_t workers) {
  // More threads than memory can even list could not be spawned either.
  try {
    workers_.reserve(workers);
  } catch (const std::exception&) {
    cannot_spawn(no_resources());
  }
  for (std::size_t i = 0; i < workers; ++i) {
    try {
      workers_.emplace_back([this] { idle(); });
    } catch (const std::system_error& error) {
      cannot_spawn(error.what());
    } catch (const std::bad_alloc&) {
      cannot_spawn(no_resources());
    }
  }
}

Runtime::~Runtime() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void Runtime::idle() {
  pthread_setname_np(pthread_self(), "worker");
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return stopping_; });
}

}  // namespace qv_server::runtime
