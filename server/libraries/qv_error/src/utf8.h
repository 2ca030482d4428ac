#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace qv_error::utf8 {

struct Decoded {
  char32_t code_point;
  std::size_t length;  // bytes taken from the input
};

// Decodes the UTF-8 sequence at the start of a non-empty `text`; nothing for an
// invalid, overlong or truncated sequence, a surrogate or a value above U+10FFFF.
std::optional<Decoded> decode(std::string_view text);

bool valid(std::string_view text);

}  // namespace qv_error::utf8
