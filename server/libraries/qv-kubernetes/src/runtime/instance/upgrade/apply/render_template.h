#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "qv_yaml/value.h"
#include "runtime/instance/upgrade/apply/regex.h"

namespace runtime::instance::upgrade::apply {

// Fills each ${NAME} placeholder (NAME a letter or underscore, then letters,
// digits, underscores) with the text of the match's group NAME; a placeholder
// whose group does not exist or took no part in the match is copied as written.
// None when the text would be longer than `limit` bytes: a group may be
// repeated many times.
std::optional<std::string> render_template(std::string_view text, const Match& match, std::size_t limit);

// A copy of `value` with every string, in sequences and mapping values
// included, passed through `render_template`. Mapping keys and tagged values
// are copied unchanged. None when the rendered strings together would be
// longer than `limit` bytes.
std::optional<qv_yaml::Value> render_value(const qv_yaml::Value& value, const Match& match, std::size_t limit);

}  // namespace runtime::instance::upgrade::apply
