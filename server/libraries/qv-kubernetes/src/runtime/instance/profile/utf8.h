#pragma once

#include <string>
#include <string_view>

// UTF-8 checks for names and contents read from the file system.
namespace runtime::instance::profile {

bool is_valid_utf8(std::string_view bytes);

// `bytes` decoded as UTF-8, each maximal invalid subsequence replaced by U+FFFD.
std::string lossy_utf8(std::string_view bytes);

}  // namespace runtime::instance::profile
