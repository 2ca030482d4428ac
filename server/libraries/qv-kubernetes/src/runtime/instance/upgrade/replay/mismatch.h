#pragma once

#include <string>
#include <string_view>

#include "runtime/provider.h"

namespace runtime::instance::upgrade::replay {

// One difference found by replay or by the digests check.
struct Mismatch {
  provider::ClusterProvider provider;
  std::string version;
  // Section, "/" and file name; empty for a provider-level reason.
  std::string file;
  std::string_view reason;
};

inline constexpr std::string_view kLeftOver = "is left over";
inline constexpr std::string_view kMissing = "is missing";
inline constexpr std::string_view kDiffers = "differs";
inline constexpr std::string_view kServedByNone = "is served by no version's kprofile";
inline constexpr std::string_view kNoLongerServed = "is no longer served by this version's kprofile";
inline constexpr std::string_view kNoRecordedDigest = "has no recorded digest";
inline constexpr std::string_view kResolvesDifferently = "resolves differently from when its digest was recorded";
inline constexpr std::string_view kDigestWithoutTemplate = "has a recorded digest but no released template";

}  // namespace runtime::instance::upgrade::replay
