#pragma once

// Keeps a secret out of error texts: the server may quote a failing
// statement, with a secret in it, in the message or its context.

#include <string_view>

#include "connection/error.h"

namespace connection {

inline constexpr std::string_view kScrubbed = "********";

// `error` with every occurrence of `secret` in each of its texts replaced by
// kScrubbed, also where it appears as an SQL literal would write it (quotes
// and backslashes doubled). An empty secret changes nothing.
Error scrub(Error error, std::string_view secret);

}  // namespace connection
