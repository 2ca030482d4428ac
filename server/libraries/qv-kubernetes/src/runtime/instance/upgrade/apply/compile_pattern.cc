#include "runtime/instance/upgrade/apply/compile_pattern.h"

#include <string>

#include "base/error/upgrade.h"

namespace runtime::instance::upgrade::apply {

using core::system::exit::CommandError;

qv_common::Result<Regex, CommandError> compile_pattern(std::string_view version, std::string_view entry,
                                                       std::string_view pattern) {
  auto compiled = Regex::compile(pattern);
  if (!compiled) return qv_common::fail(pattern_failed(version, entry, pattern, std::move(compiled).error()));
  return std::move(compiled).value();
}

CommandError pattern_failed(std::string_view version, std::string_view entry, std::string_view pattern,
                            std::string cause) {
  return CommandError(base::error::UpgradeError::ModifyPatternInvalid(
      std::string(version), std::string(entry), std::string(pattern), std::move(cause)));
}

}  // namespace runtime::instance::upgrade::apply
