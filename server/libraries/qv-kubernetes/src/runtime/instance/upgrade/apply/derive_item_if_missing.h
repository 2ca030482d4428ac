#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "qv_yaml/value.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/regex.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {

// An item derived from the sequence item at `source`.
struct Derived {
  std::size_t source = 0;
  qv_yaml::Value item;
};

// For each item with scalar text that the pattern matches (first match), the
// string that the operation's `item` template renders from the match, in
// sequence order. Fails with the library's message when a search fails.
qv_common::Result<std::vector<Derived>, std::string> derive(const qv_yaml::Sequence& sequence, const Regex& pattern,
                                                            const spec::DeriveItemIfMissing& op);

}  // namespace runtime::instance::upgrade::apply
