#pragma once

#include <string_view>

#include "qv_yaml/value.h"

namespace qv_yaml {

// Resolves a plain scalar by the YAML 1.2 core schema: null, booleans,
// integers (decimal, 0o octal, 0x hexadecimal), floats, and otherwise a
// string. The result remembers `text` as written; an empty text is the
// empty null.
Value resolve_plain(std::string_view text);

// Whether a plain scalar with this text would resolve to something other than
// a string, so that writing the string needs quotes.
bool resolves_to_non_string(std::string_view text);

}  // namespace qv_yaml
