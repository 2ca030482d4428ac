#pragma once

#include <array>
#include <string_view>

namespace runtime::instance::upgrade::inventory {

// The kprofile families, in the order in which the planners walk them.
inline constexpr std::array<std::string_view, 3> kFamilies = {"assets", "configs", "pods"};

}  // namespace runtime::instance::upgrade::inventory
