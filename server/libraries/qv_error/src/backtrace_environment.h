#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "backtrace.h"

namespace qv_error::testing_support {

// For tests: sets (or, given nothing, unsets) the two backtrace switch
// variables while it lives and makes the next capture decide from them again;
// restores the previous values on destruction.
class BacktraceEnvironment {
 public:
  BacktraceEnvironment(std::optional<std::string> library, std::optional<std::string> general)
      : saved_library_(read(Backtrace::kLibraryVariable)), saved_general_(read(Backtrace::kGeneralVariable)) {
    apply(library, general);
  }
  ~BacktraceEnvironment() { apply(saved_library_, saved_general_); }

  BacktraceEnvironment(const BacktraceEnvironment&) = delete;
  BacktraceEnvironment& operator=(const BacktraceEnvironment&) = delete;

 private:
  static std::optional<std::string> read(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
  }

  static void assign(const char* name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }

  static void apply(const std::optional<std::string>& library, const std::optional<std::string>& general) {
    assign(Backtrace::kLibraryVariable, library);
    assign(Backtrace::kGeneralVariable, general);
    Backtrace::reset_switch();
  }

  std::optional<std::string> saved_library_;
  std::optional<std::string> saved_general_;
};

}  // namespace qv_error::testing_support
