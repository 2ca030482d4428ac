#pragma once

// The edition rule: which edition markers, stored in a database by the build
// that last stamped it, this build accepts, and which it must rewrite.
// Markers are compared byte for byte.

#include <string_view>

namespace edition {

class Compatible {
 public:
  virtual ~Compatible() = default;
  // Whether this build may use a database stamped with `marker`.
  virtual bool is_compatible(std::string_view marker) const = 0;
  // Whether the stamp `marker` is to be rewritten with this build's own.
  virtual bool requires_upgrade(std::string_view marker) const = 0;
};

// The edition of this build.
class QuorvaleEdition final : public Compatible {
 public:
  static constexpr std::string_view kMarker = "enterprise";
  static constexpr std::string_view kOpenSource = "opensource";

  bool is_compatible(std::string_view marker) const override { return marker == kMarker || marker == kOpenSource; }
  bool requires_upgrade(std::string_view marker) const override { return marker == kOpenSource; }
};

}  // namespace edition
