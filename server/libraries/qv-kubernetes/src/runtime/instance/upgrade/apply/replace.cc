#include <variant>

#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::spec {

qv_common::Result<Replaced, core::system::exit::CommandError> Operation::replace(std::string_view version,
                                                                                 std::string_view entry,
                                                                                 std::string text) const {
  apply::PatternCache patterns;
  apply::WorkBudget work;
  apply::WorkingText working(std::move(text), version, entry, apply::EditContext{patterns, work});
  QV_ASSIGN_OR_RETURN(const bool changed, apply(working));
  QV_ASSIGN_OR_RETURN(std::string result, working.take());
  return Replaced{std::move(result), changed};
}

qv_common::Result<bool, core::system::exit::CommandError> Operation::apply(apply::WorkingText& text) const {
  return std::visit([&](const auto& op) { return apply::replace_kind(op, text); },
                    kind);
}

}  // namespace runtime::instance::upgrade::spec
