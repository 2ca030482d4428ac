#pragma once

#include <string_view>

#include "core/system/exit.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/regex.h"
#include "runtime/instance/upgrade/apply/working_text.h"

namespace runtime::instance::upgrade::apply {

// An operation's expression compiled through the text's pattern cache;
// `ModifyPatternInvalid` when it does not compile.
qv_common::Result<const Regex*, core::system::exit::CommandError> compile_pattern(WorkingText& text,
                                                                                  std::string_view pattern);

// `ModifyPatternInvalid` for a pattern whose search failed with `cause`.
core::system::exit::CommandError pattern_failed(std::string_view version, std::string_view entry,
                                                std::string_view pattern, std::string cause);

}  // namespace runtime::instance::upgrade::apply
