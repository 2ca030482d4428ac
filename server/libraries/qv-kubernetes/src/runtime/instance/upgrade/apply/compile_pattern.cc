#include "runtime/instance/upgrade/apply/compile_pattern.h"

#include <string>

#include "base/error/upgrade.h"

namespace runtime::instance::upgrade::apply {

using core::system::exit::CommandError;

qv_common::Result<const Regex*, CommandError> compile_pattern(WorkingText& text, std::string_view pattern) {
  const auto& compiled = text.patterns().compile(pattern);
  if (!compiled) return qv_common::fail(pattern_failed(text.version(), text.entry(), pattern, compiled.error()));
  return &*compiled;
}

CommandError pattern_failed(std::string_view version, std::string_view entry, std::string_view pattern,
                            std::string cause) {
  return CommandError(base::error::UpgradeError::ModifyPatternInvalid(
      std::string(version), std::string(entry), std::string(pattern), std::move(cause)));
}

}  // namespace runtime::instance::upgrade::apply
