#pragma once

#include <string_view>

namespace qv_server::utf8 {

// True when `text` is well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool is_valid(std::string_view text);

}  // namespace qv_server::utf8
