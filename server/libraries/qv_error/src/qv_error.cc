#include "qv_error.h"

#include <fmt/format.h>

#include "debug_quote.h"

namespace qv_error {

QvError QvError::wrap(std::string domain, std::uint16_t code, std::string message, std::any error) {
  std::string code_text = fmt::format("{}::{:04}", domain, code);
  return QvError{
      std::move(domain),
      std::move(code_text),
      ApiError::from(code),
      ErrorWrapper(std::move(error), std::move(message), Backtrace::capture()),
  };
}

std::string QvError::debug() const {
  return fmt::format("QvError {{ domain: {}, code: {}, api_error: {}, qv_error: {} }}", debug_quote(domain),
                     debug_quote(code), api_error.debug(), qv_error.debug());
}

}  // namespace qv_error
