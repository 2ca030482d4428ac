#pragma once

#include <string>

#include "result.h"
#include "qv_yaml/value.h"

namespace qv_yaml {

// Writes the value as one block-style document through the YAML library's
// emitter; the failure carries the emitter's message.
qv_common::Result<std::string, std::string> write_with_library(const Value& value);

}  // namespace qv_yaml
