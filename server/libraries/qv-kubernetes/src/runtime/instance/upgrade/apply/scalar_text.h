#pragma once

#include <optional>
#include <string>

#include "qv_yaml/value.h"

namespace runtime::instance::upgrade::apply {

// The text of a scalar: "true" or "false", an integer in decimal, a float's
// canonical text, a string itself. None for null, collections and tagged values.
std::optional<std::string> scalar_text(const qv_yaml::Value& value);

}  // namespace runtime::instance::upgrade::apply
