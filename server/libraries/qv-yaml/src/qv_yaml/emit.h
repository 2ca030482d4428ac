#pragma once

#include <string>

#include "result.h"
#include "qv_yaml/value.h"

namespace qv_yaml {

// Writes the value as one block-style YAML document without a start marker.
// Mapping entries keep their order, and the text reads back as an equal
// value. Strings that would read back as another kind are quoted, also where
// only a YAML 1.1 reader would take them for one; multi-line strings use
// literal blocks where YAML allows them.
qv_common::Result<std::string, std::string> emit(const Value& value);

}  // namespace qv_yaml
