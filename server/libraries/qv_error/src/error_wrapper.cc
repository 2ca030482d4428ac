#include "error_wrapper.h"

namespace qv_error {

std::string ErrorWrapper::debug() const {
  if (backtrace_.status() != Backtrace::Status::Captured) return message_;
  return message_ + "\n\nStack backtrace:\n" + backtrace_.render();
}

}  // namespace qv_error
