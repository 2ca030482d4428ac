#pragma once

#include <cstddef>
#include <string_view>

#include "core/system/exit.h"

namespace runtime::instance::upgrade::apply {

// The most bytes the text of a file may hold after any operation that
// changed it: far above any real kprofile file, low enough that a chain of
// operations that each double the file stops long before memory runs out.
inline constexpr std::size_t kMaxResultBytes = 16 * 1024 * 1024;

// `ModifyRenderFailed` naming the limit: the result would be longer.
core::system::exit::CommandError result_too_large(std::string_view version, std::string_view entry);

}  // namespace runtime::instance::upgrade::apply
