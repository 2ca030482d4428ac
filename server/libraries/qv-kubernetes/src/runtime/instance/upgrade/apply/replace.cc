#include <variant>

#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::spec {

qv_common::Result<Replaced, core::system::exit::CommandError> Operation::replace(std::string_view version,
                                                                                 std::string_view entry,
                                                                                 std::string text) const {
  return std::visit([&](const auto& op) { return apply::replace_kind(op, version, entry, std::move(text)); },
                    kind);
}

}  // namespace runtime::instance::upgrade::spec
