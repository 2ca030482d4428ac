#pragma once

#include <string_view>

namespace qv_yaml {

// Whether a YAML 1.1 reader would resolve a plain scalar with this text to
// something other than that string: its booleans (yes, no, on, off, y, n),
// nulls, integers in bases 2, 8, 10, 16 and 60 with underscores, floats,
// timestamps, and the merge (<<) and value (=) keys. Case variants and the
// forms that only some such readers take count too: a wrong answer may only
// ever be a quote too many.
bool yaml11_resolves_to_non_string(std::string_view text);

}  // namespace qv_yaml
