#pragma once

#include <cstddef>
#include <limits>
#include <string>

#include "result.h"
#include "qv_yaml/value.h"

namespace qv_yaml {

// Writes the value as one block-style YAML document without a start marker.
// Mapping entries keep their order, and the text reads back as an equal
// value. Strings that would read back as another kind are quoted, also where
// only a YAML 1.1 reader would take them for one; multi-line strings use
// literal blocks where YAML allows them. A text that would be longer than
// `max_bytes` is not written: the failure is `size_limit_exceeded`.
qv_common::Result<std::string, std::string> emit(const Value& value,
                                                 std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

// "size limit exceeded: the text would be longer than N bytes".
std::string size_limit_exceeded(std::size_t max_bytes);

}  // namespace qv_yaml
