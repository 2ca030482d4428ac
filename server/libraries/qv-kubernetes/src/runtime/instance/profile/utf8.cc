#include "runtime/instance/profile/utf8.h"

#include <cstddef>

namespace runtime::instance::profile {
namespace {

struct Sequence {
  std::size_t length;  // bytes taken from the input
  bool valid;
};

struct Lead {
  std::size_t continuations;
  unsigned char second_low;  // allowed range of the second byte
  unsigned char second_high;
};

// How a sequence starting with `byte` continues; no continuations for a byte
// that cannot start a multi-byte sequence.
Lead lead_of(unsigned char byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return {1, 0x80, 0xBF};
  if (byte == 0xE0) return {2, 0xA0, 0xBF};
  if (byte == 0xED) return {2, 0x80, 0x9F};  // no surrogates
  if (byte >= 0xE1 && byte <= 0xEF) return {2, 0x80, 0xBF};
  if (byte == 0xF0) return {3, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return {3, 0x80, 0xBF};
  if (byte == 0xF4) return {3, 0x80, 0x8F};  // nothing above U+10FFFF
  return {0, 0, 0};
}

// The sequence at the start of a non-empty `bytes`: a whole valid one, or the
// longest prefix of one that cannot be completed.
Sequence next_sequence(std::string_view bytes) {
  const auto first = static_cast<unsigned char>(bytes[0]);
  if (first < 0x80) return {1, true};
  const Lead lead = lead_of(first);
  if (lead.continuations == 0) return {1, false};
  std::size_t length = 1;
  for (std::size_t k = 0; k < lead.continuations; ++k, ++length) {
    const unsigned char low = k == 0 ? lead.second_low : 0x80;
    const unsigned char high = k == 0 ? lead.second_high : 0xBF;
    if (length >= bytes.size()) return {length, false};
    const auto byte = static_cast<unsigned char>(bytes[length]);
    if (byte < low || byte > high) return {length, false};
  }
  return {length, true};
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const Sequence sequence = next_sequence(bytes);
    if (!sequence.valid) return false;
    bytes.remove_prefix(sequence.length);
  }
  return true;
}

std::string lossy_utf8(std::string_view bytes) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    const Sequence sequence = next_sequence(bytes);
    if (sequence.valid) {
      text.append(bytes.substr(0, sequence.length));
    } else {
      text.append(kReplacement);
    }
    bytes.remove_prefix(sequence.length);
  }
  return text;
}

}  // namespace runtime::instance::profile
