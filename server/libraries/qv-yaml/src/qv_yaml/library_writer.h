#pragma once

#include <cstddef>
#include <limits>
#include <string>

#include "result.h"
#include "qv_yaml/value.h"

namespace qv_yaml {

// Writes the value as one block-style document through the YAML library's
// emitter; the failure carries the emitter's message, or names `max_bytes`
// when the text would be longer.
qv_common::Result<std::string, std::string> write_with_library(
    const Value& value, std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

}  // namespace qv_yaml
