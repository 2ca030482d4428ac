#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/system/exit.h"
#include "qv_yaml/value.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/searcher.h"
#include "runtime/instance/upgrade/apply/working_text.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {

// An item derived from the sequence item at `source`.
struct Derived {
  std::size_t source = 0;
  qv_yaml::Value item;
};

// For each item with scalar text that the pattern matches (first match), the
// string that the operation's `item` template renders from the match, in
// sequence order, each item searched with `searcher`. Fails with
// `ModifyPatternInvalid` when a search fails, and with `ModifyRenderFailed`
// when the derived items together would be longer than `kMaxResultBytes`;
// `text` names the failures.
qv_common::Result<std::vector<Derived>, core::system::exit::CommandError> derive(
    const qv_yaml::Sequence& sequence, Searcher& searcher, const spec::DeriveItemIfMissing& op,
    const WorkingText& text);

}  // namespace runtime::instance::upgrade::apply
