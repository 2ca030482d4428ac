#include "runtime/instance/upgrade/apply/boundary.h"

#include <fmt/format.h>

namespace runtime::instance::upgrade::apply {

std::string boundary(std::string_view name, const std::optional<std::string>& expression) {
  if (!expression) return {};
  return fmt::format("(?<{}>{})", name, *expression);
}

}  // namespace runtime::instance::upgrade::apply
