#pragma once

// The settings whose values libpq reads itself when it connects (numbers,
// modes, numeric addresses), checked by libpq's rules before it sees them,
// and host names, which may hold a '@' only at their start: libpq's own
// refusal, and its name lookup's, quote the value, which may be a misplaced
// password.

#include <optional>
#include <string>

#include "connection/conninfo.h"

namespace connection {

// The keyword of the first setting whose value libpq would refuse; none when
// libpq takes every value. Keywords libpq does not read itself pass.
std::optional<std::string> refused_setting(const Settings& settings);

}  // namespace connection
