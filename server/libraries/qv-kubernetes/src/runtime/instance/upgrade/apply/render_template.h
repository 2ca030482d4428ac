#pragma once

#include <string>
#include <string_view>

#include "qv_yaml/value.h"
#include "runtime/instance/upgrade/apply/regex.h"

namespace runtime::instance::upgrade::apply {

// Fills each ${NAME} placeholder (NAME a letter or underscore, then letters,
// digits, underscores) with the text of the match's group NAME; a placeholder
// whose group does not exist or took no part in the match is copied as written.
std::string render_template(std::string_view text, const Match& match);

// A copy of `value` with every string, in sequences and mapping values
// included, passed through `render_template`. Mapping keys and tagged values
// are copied unchanged.
qv_yaml::Value render_value(const qv_yaml::Value& value, const Match& match);

}  // namespace runtime::instance::upgrade::apply
