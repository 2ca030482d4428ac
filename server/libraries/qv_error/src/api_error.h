#pragma once

#include <cstdint>
#include <string>

namespace qv_error {

// The class of an error: what kind of failure a numeric code stands for.
class ApiError {
 public:
  enum class Kind : std::uint16_t {
    InputError,
    NotFound,
    NotAllowed,
    Forbidden,
    NotAuthorized,
    InternalError,
    NotImplemented,
    Unexpected,
    Unavailable,
    Any,
  };

  static ApiError InputError() { return ApiError(Kind::InputError); }
  static ApiError NotFound() { return ApiError(Kind::NotFound); }
  static ApiError NotAllowed() { return ApiError(Kind::NotAllowed); }
  static ApiError Forbidden() { return ApiError(Kind::Forbidden); }
  static ApiError NotAuthorized() { return ApiError(Kind::NotAuthorized); }
  static ApiError InternalError() { return ApiError(Kind::InternalError); }
  static ApiError NotImplemented() { return ApiError(Kind::NotImplemented); }
  static ApiError Unexpected() { return ApiError(Kind::Unexpected); }
  static ApiError Unavailable() { return ApiError(Kind::Unavailable); }
  static ApiError Any(std::uint16_t status) { return ApiError(Kind::Any, status); }

  // The class of a numeric error code, by its thousands: 0-999 InputError,
  // 1000s NotFound, 2000s NotAllowed, 3000s Forbidden, 4000s NotAuthorized,
  // 5000 and above InternalError.
  static ApiError from(std::uint16_t code);

  Kind kind() const { return kind_; }
  // The status number of `Any`; 0 for every other kind.
  std::uint16_t status() const { return status_; }

  // The variant name; `Any` as Any(status).
  std::string debug() const;

  bool operator==(const ApiError&) const = default;

 private:
  explicit ApiError(Kind kind, std::uint16_t status = 0) : kind_(kind), status_(status) {}

  Kind kind_;
  std::uint16_t status_;
};

}  // namespace qv_error
