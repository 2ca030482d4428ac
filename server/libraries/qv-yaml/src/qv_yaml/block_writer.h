#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

#include "qv_yaml/value.h"

namespace qv_yaml {

// Writes a document the way the YAML library's emitter writes it, without
// the emitter, when the document holds only what this writer knows: a
// non-empty root mapping or sequence, untagged mappings and sequences below
// it with scalar keys, and scalars whose text is printable ASCII and line
// breaks, written plain, single-quoted or as literal blocks. Any other
// document gives none and is left to the emitter, and so does a document
// whose text would be longer than `max_bytes`.
std::optional<std::string> write_block(const Value& value,
                                       std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

}  // namespace qv_yaml
