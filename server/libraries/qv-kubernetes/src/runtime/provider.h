#pragma once

#include <cstdint>
#include <string_view>

namespace runtime::provider {

// The cluster providers a kprofile can serve; the numeric values are their codes.
enum class ClusterProvider : std::uint8_t { kKminus, kDocker, kEks, kAks, kGke, kFargate };

// The provider's lower-case name, as used in variant file names ("eks").
std::string_view as_str(ClusterProvider provider);

}  // namespace runtime::provider
