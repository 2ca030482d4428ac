#include "debug_quote.h"

#include <fmt/format.h>

#include <cstdint>

#include "utf8.h"

namespace qv_error {
namespace {

// Control characters, the line and paragraph separators and the invisible
// formatting characters (zero-width and bidirectional controls, byte order
// mark), which would hide or reorder text in a diagnostic.
bool printable(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
  if (c == 0xAD || c == 0x2028 || c == 0x2029 || c == 0xFEFF) return false;
  if ((c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069)) {
    return false;
  }
  return true;
}

void append_escaped(std::string& out, char32_t c, std::string_view raw) {
  switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
  }
  if (printable(c)) {
    out += raw;
  } else {
    out += fmt::format("\\u{{{:x}}}", static_cast<std::uint32_t>(c));
  }
}

}  // namespace

std::string debug_quote(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    if (const auto decoded = utf8::decode(text)) {
      append_escaped(out, decoded->code_point, text.substr(0, decoded->length));
      text.remove_prefix(decoded->length);
    } else {
      out += fmt::format("\\x{:02x}", static_cast<unsigned char>(text[0]));
      text.remove_prefix(1);
    }
  }
  out += '"';
  return out;
}

}  // namespace qv_error
