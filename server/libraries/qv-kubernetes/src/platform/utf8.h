#pragma once

#include <string>
#include <string_view>

namespace platform {

bool is_valid_utf8(std::string_view bytes);

// `bytes` with every invalid UTF-8 sequence (its maximal invalid part)
// replaced by U+FFFD.
std::string lossy_utf8(std::string_view bytes);

}  // namespace platform
