#pragma once

#include <string>
#include <string_view>

namespace qv_error {

// The debug form of a text: in double quotes, with a backslash before '"' and
// '\', the escapes \n, \r and \t, \u{hex} for other non-printable characters
// and \xHH for bytes that are not part of valid UTF-8. Printable characters
// stay unchanged.
std::string debug_quote(std::string_view text);

}  // namespace qv_error
