#pragma once

#include "qv_yaml/value.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {

// Rebuilds `mapping` in order with the entry (key, value) just before or just
// after each entry whose key equals `anchor`.
void place_sibling(qv_yaml::Mapping& mapping, const qv_yaml::Value& anchor, const qv_yaml::Value& key,
                   const qv_yaml::Value& value, spec::Placement placement);

}  // namespace runtime::instance::upgrade::apply
