#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace runtime::instance::upgrade::apply {

// The named group "(?<name>expression)", or the empty text without an expression.
std::string boundary(std::string_view name, const std::optional<std::string>& expression);

}  // namespace runtime::instance::upgrade::apply
