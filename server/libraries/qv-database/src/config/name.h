#pragma once

// Names of schemas and roles. They are written into SQL texts as they are
// (inside quotes, never escaped), so only plain lower-case identifiers pass:
// a lower-case letter or underscore, then up to 62 lower-case letters,
// digits or underscores, and not the reserved prefix pg_.

#include <string>
#include <string_view>

#include "result.h"

namespace config::name {

// `name` itself, or an error naming `field`: "in_project: 'x' is not a
// valid name (...)".
qv_common::Result<std::string, std::string> checked_name(std::string_view field, std::string_view name);

}  // namespace config::name
