#include "api_error.h"

#include <fmt/format.h>

#include <array>
#include <string_view>

namespace qv_error {

ApiError ApiError::from(std::uint16_t code) {
  static constexpr std::array<Kind, 5> kByThousands = {
      Kind::InputError, Kind::NotFound, Kind::NotAllowed, Kind::Forbidden, Kind::NotAuthorized,
  };
  const std::size_t thousands = code / 1000;
  return ApiError(thousands < kByThousands.size() ? kByThousands[thousands] : Kind::InternalError);
}

std::string ApiError::debug() const {
  static constexpr std::array<std::string_view, 9> kNames = {
      "InputError",    "NotFound",       "NotAllowed", "Forbidden",   "NotAuthorized",
      "InternalError", "NotImplemented", "Unexpected", "Unavailable",
  };
  if (kind_ == Kind::Any) return fmt::format("Any({})", status_);
  return std::string(kNames[static_cast<std::size_t>(kind_)]);
}

}  // namespace qv_error
