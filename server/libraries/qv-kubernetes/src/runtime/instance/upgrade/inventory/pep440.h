#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "result.h"

namespace runtime::instance::upgrade::inventory::pep440 {

// A PEP 440 version: parsed with the standard's normalisations, printed in
// canonical form, ordered by the standard's total order.
//
// Numbers are kept as decimal digit strings without leading zeros, so any
// length is exact.
class Version {
 public:
  // Parses `text` (case-insensitive, surrounding white space allowed).
  // The error is "invalid version: '<text>'".
  static qv_common::Result<Version, std::string> parse(std::string_view text);

  // Canonical form, e.g. "1.0rc1" or "1!2.0.post1.dev3+local.7".
  std::string normalized() const;

  // Equal versions may differ in text: 1.0 == 1.0.0, 1.0+ABC == 1.0+abc.
  std::weak_ordering operator<=>(const Version& other) const;
  bool operator==(const Version& other) const { return (*this <=> other) == 0; }

 private:
  friend class Parser;
  friend struct Order;

  // Declared in the order in which they sort.
  enum class PreLabel { alpha, beta, candidate };
  struct PreRelease {
    PreLabel label;
    std::string number;
  };

  Version() = default;

  std::string epoch_ = "0";
  std::vector<std::string> release_;
  std::optional<PreRelease> pre_;
  std::optional<std::string> post_;
  std::optional<std::string> dev_;
  std::vector<std::string> local_;  // lower-case segments; empty without a local label
};

}  // namespace runtime::instance::upgrade::inventory::pep440
