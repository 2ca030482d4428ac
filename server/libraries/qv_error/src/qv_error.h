#pragma once

#include <any>
#include <cstdint>
#include <string>

#include "api_error.h"
#include "error_wrapper.h"

namespace qv_error {

// The shared error record: the error's domain, its code text, its class and
// the wrapped error itself.
struct QvError {
  std::string domain;    // the name of the error enumeration
  std::string code;      // domain, "::" and the numeric code padded to four digits
  ApiError api_error;    // the class of the numeric code
  ErrorWrapper qv_error;

  // Builds the record for `error` of `domain` with the numeric `code` and the
  // display `message`, capturing a backtrace when capture is enabled.
  static QvError wrap(std::string domain, std::uint16_t code, std::string message, std::any error);

  // QvError { domain: "...", code: "...", api_error: ..., qv_error: ... }
  std::string debug() const;
};

}  // namespace qv_error
