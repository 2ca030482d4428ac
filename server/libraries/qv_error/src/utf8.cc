#include "utf8.h"

namespace qv_error::utf8 {
namespace {

struct Lead {
  std::size_t length;
  char32_t bits;     // the payload bits of the lead byte
  char32_t minimum;  // the smallest code point this length may encode
};

std::optional<Lead> lead_of(unsigned char byte) {
  if (byte < 0x80) return Lead{1, byte, 0};
  if ((byte & 0xE0) == 0xC0) return Lead{2, char32_t{byte} & 0x1F, 0x80};
  if ((byte & 0xF0) == 0xE0) return Lead{3, char32_t{byte} & 0x0F, 0x800};
  if ((byte & 0xF8) == 0xF0) return Lead{4, char32_t{byte} & 0x07, 0x10000};
  return std::nullopt;
}

}  // namespace

std::optional<Decoded> decode(std::string_view text) {
  const auto lead = lead_of(static_cast<unsigned char>(text[0]));
  if (!lead || text.size() < lead->length) return std::nullopt;
  char32_t value = lead->bits;
  for (std::size_t i = 1; i < lead->length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < lead->minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
  return Decoded{value, lead->length};
}

bool valid(std::string_view text) {
  while (!text.empty()) {
    const auto decoded = decode(text);
    if (!decoded) return false;
    text.remove_prefix(decoded->length);
  }
  return true;
}

}  // namespace qv_error::utf8
