#include "panic.h"

#include <fmt/format.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <string>
#include <string_view>

#include "backtrace.h"

namespace qv_server::panic {
namespace {

std::string current_thread_name() {
  std::array<char, 64> name{};
  if (pthread_getname_np(pthread_self(), name.data(), name.size()) != 0 || name[0] == '\0') {
    return "<unnamed>";
  }
  return name.data();
}

// The general backtrace variable, set to anything but "0", asks for one.
bool backtrace_requested() {
  const char* value = std::getenv(qv_error::Backtrace::kGeneralVariable);
  return value != nullptr && std::string_view(value) != "0";
}

}  // namespace

void abort_with(std::string_view message, std::source_location location) {
  std::string text = fmt::format("\nthread '{}' panicked at {}:{}:{}:\n{}\n", current_thread_name(),
                                 location.file_name(), location.line(), location.column(), message);
  if (backtrace_requested()) {
    text += fmt::format("stack backtrace:\n{}\n", qv_error::Backtrace::capture_now().render());
  } else {
    text += fmt::format("note: run with `{}=1` environment variable to display a backtrace\n",
                        qv_error::Backtrace::kGeneralVariable);
  }
  // Best effort: the process aborts whether or not standard error takes the text.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
  std::abort();
}

}  // namespace qv_server::panic
