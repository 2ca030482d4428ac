#include "panic.h"

#include <fmt/format.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <string>

namespace qv_server::panic {
namespace {

std::string current_thread_name() {
  std::array<char, 64> name{};
  if (pthread_getname_np(pthread_self(), name.data(), name.size()) != 0 || name[0] == '\0') {
    return "<unnamed>";
  }
  return name.data();
}

}  // namespace

void abort_with(std::string_view message, std::source_location location) {
  const std::string text = fmt::format(
      "\nthread '{}' panicked at {}:{}:{}:\n{}\n"
      "note: run with `QV_BACKTRACE=1` environment variable to display a backtrace\n",
      current_thread_name(), location.file_name(), location.line(), location.column(), message);
  // Best effort: the process aborts whether or not standard error takes the text.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
  std::abort();
}

}  // namespace qv_server::panic
