#pragma once

#include <cstddef>

#include "qv_yaml/value.h"

namespace qv_yaml {

// How much a value holds: its nodes, and a lower estimate of the bytes its
// YAML text takes, counting every string's text, every tag, one byte for any
// other scalar and one byte for each node.
struct Extent {
  std::size_t nodes = 0;
  std::size_t bytes = 0;
};

Extent extent_of(const Value& value);

}  // namespace qv_yaml
