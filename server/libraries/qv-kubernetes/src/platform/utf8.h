#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

bool is_valid_utf8(std::string_view bytes);

// `bytes` with every invalid UTF-8 sequence (its maximal invalid part)
// replaced by U+FFFD.
std::string lossy_utf8(std::string_view bytes);

// The text of a path as messages show it: lossy where it is not UTF-8.
inline std::string display(const std::filesystem::path& path) { return lossy_utf8(path.native()); }

}  // namespace platform
