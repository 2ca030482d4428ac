#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv_error {

// Whether backtraces are captured, from the values of the two switch variables
// (nothing when unset): the library-specific one decides when it is set and
// valid UTF-8, otherwise the general one; "0" disables, any other value
// enables, and with neither set capture is disabled.
bool capture_switch(std::optional<std::string_view> library_value, std::optional<std::string_view> general_value);

// The stack of the thread at the moment an error record was built.
class Backtrace {
 public:
  enum class Status { Disabled, Unsupported, Captured };

  // The environment variables of `capture_switch`.
  static constexpr const char* kLibraryVariable = "QV_LIB_BACKTRACE";
  static constexpr const char* kGeneralVariable = "QV_BACKTRACE";

  // Captures the current stack when capture is enabled for this process; the
  // decision is taken from the environment on the first call.
  static Backtrace capture();
  // Captures the current stack whatever the environment says.
  static Backtrace capture_now();

  // Forgets the process-wide decision so that the next capture reads the
  // environment again. For tests, which switch capture within one process.
  static void reset_switch();

  Status status() const { return status_; }
  const std::vector<std::string>& frames() const { return frames_; }

  // One line per frame, "   N: symbol", without trailing white space.
  std::string render() const;

 private:
  Backtrace(Status status, std::vector<std::string> frames) : status_(status), frames_(std::move(frames)) {}

  Status status_;
  std::vector<std::string> frames_;
};

}  // namespace qv_error
