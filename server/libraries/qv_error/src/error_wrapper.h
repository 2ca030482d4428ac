#pragma once

#include <any>
#include <string>

#include "backtrace.h"

namespace qv_error {

// Owns a wrapped error value of any type, its display message and the
// backtrace captured when it was wrapped.
class ErrorWrapper {
 public:
  ErrorWrapper(std::any error, std::string message, Backtrace backtrace)
      : error_(std::move(error)), message_(std::move(message)), backtrace_(std::move(backtrace)) {}

  const std::any& error() const { return error_; }
  const std::string& message() const { return message_; }
  const Backtrace& backtrace() const { return backtrace_; }

  // The message; after a captured backtrace, an empty line, "Stack backtrace:"
  // and the frames.
  std::string debug() const;

 private:
  std::any error_;
  std::string message_;
  Backtrace backtrace_;
};

}  // namespace qv_error
