#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace qv_common::status {

// The process status a command ends with.
enum class ExitStatus : std::uint8_t {
  Success,
  NoAction,
  Cancelled,
  Aborted,
  GeneralError,
  QuorValeError,
  QuorValeSigInt,
  QuorValeSigKill,
  QuorValeSigTerm,
};

// The variant name, as debug renderings show it.
inline std::string_view debug_name(ExitStatus status) {
  static constexpr std::array<std::string_view, 9> kNames = {
      "Success",       "NoAction",      "Cancelled",      "Aborted",         "GeneralError",
      "QuorValeError", "QuorValeSigInt", "QuorValeSigKill", "QuorValeSigTerm",
  };
  return kNames.at(static_cast<std::size_t>(status));
}

}  // namespace qv_common::status
