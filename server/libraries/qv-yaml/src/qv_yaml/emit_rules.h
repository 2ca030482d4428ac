#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "qv_yaml/value.h"

// What every writer of a document decides alike.
namespace qv_yaml {

// The style a string asks to be written in; the writer may still choose a
// safer one.
enum class StringStyle : std::uint8_t {
  // Plain where that reads back as the same string, quoted otherwise.
  kAny,
  // Single-quoted: a YAML 1.2 or 1.1 reader would take the plain form for
  // another kind.
  kSingleQuoted,
  // A literal block: the text holds a line break.
  kLiteral,
};

StringStyle string_style(std::string_view text);

// The plain text of a null, boolean or number: canonical, not as first
// written, so that 0x1F is written as 31 and reads back the same everywhere.
std::string canonical_text(const Value& value);

}  // namespace qv_yaml
