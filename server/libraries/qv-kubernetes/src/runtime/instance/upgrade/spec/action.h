#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::spec {

// What to do with one variant file, in the order of the "action" tag values.
enum class ActionKind : std::uint8_t { kRetain, kCreate, kReplace, kDelete, kMerge, kModify };

inline constexpr std::array<std::string_view, 6> kActionNames = {"retain", "create", "replace",
                                                                 "delete", "merge",  "modify"};

struct Action {
  ActionKind kind = ActionKind::kRetain;
  // The edit operations of a modify action, applied in list order.
  std::vector<Operation> changes;

  std::string_view name() const { return kActionNames[static_cast<std::size_t>(kind)]; }
};

}  // namespace runtime::instance::upgrade::spec
