#include "platform/utf8.h"

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

struct Sequence {
  size_t length;  // bytes taken: the whole sequence, or its invalid part
  bool valid;
};

// The sequence starting at `at`, by the well-formed byte ranges of Unicode
// (no overlong forms, surrogates or code points above U+10FFFF).
Sequence sequence_at(std::string_view bytes, size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return {1, true};
  size_t trailing = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {1, false};
  }
  for (size_t i = 1; i <= trailing; ++i) {
    if (at + i >= bytes.size()) return {i, false};
    const auto byte = static_cast<unsigned char>(bytes[at + i]);
    if (byte < low || byte > high) return {i, false};
    low = 0x80;
    high = 0xBF;
  }
  return {trailing + 1, true};
}

// Whether the eight bytes at `at` are all ASCII.
bool ascii_word_at(std::string_view bytes, size_t at) {
  std::uint64_t word = 0;
  if (at + sizeof word > bytes.size()) return false;
  std::memcpy(&word, bytes.data() + at, sizeof word);
  return (word & 0x8080808080808080ULL) == 0;
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
  for (size_t at = 0; at < bytes.size();) {
    // Runs of ASCII, the bulk of most files, are passed over a word at a time.
    if (ascii_word_at(bytes, at)) {
      at += sizeof(std::uint64_t);
      continue;
    }
    const auto sequence = sequence_at(bytes, at);
    if (!sequence.valid) return false;
    at += sequence.length;
  }
  return true;
}

std::string lossy_utf8(std::string_view bytes) {
  // Most texts are valid as they stand, and then a copy is all it takes.
  if (is_valid_utf8(bytes)) return std::string(bytes);
  std::string text;
  text.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size();) {
    const auto sequence = sequence_at(bytes, at);
    if (sequence.valid) {
      text.append(bytes.substr(at, sequence.length));
    } else {
      text.append("\xEF\xBF\xBD");
    }
    at += sequence.length;
  }
  return text;
}

}  // namespace platform
