#pragma once

#include <span>
#include <string>

#include "qv_yaml/value.h"

namespace runtime::instance::upgrade::apply {

// Follows `segments` from `node`: each step looks through tags and moves to
// the value under the string key that equals the segment. Null when a step
// finds no mapping or no such key. The node reached is returned as it is,
// tags included.
qv_yaml::Value* walk(qv_yaml::Value& node, std::span<const std::string> segments);

}  // namespace runtime::instance::upgrade::apply
