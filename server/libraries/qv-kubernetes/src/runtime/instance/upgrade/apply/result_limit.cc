#include "runtime/instance/upgrade/apply/result_limit.h"

#include <string>

#include "base/error/upgrade.h"
#include "qv_yaml/emit.h"

namespace runtime::instance::upgrade::apply {

core::system::exit::CommandError result_too_large(std::string_view version, std::string_view entry) {
  return base::error::UpgradeError::ModifyRenderFailed(std::string(version), std::string(entry),
                                                       qv_yaml::size_limit_exceeded(kMaxResultBytes));
}

}  // namespace runtime::instance::upgrade::apply
