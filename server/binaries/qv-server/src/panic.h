#pragma once

#include <source_location>
#include <string_view>

namespace qv_server::panic {

// Reports an unrecoverable start-up failure on standard error, naming the
// current thread and the source location, then aborts the process.
[[noreturn]] void abort_with(std::string_view message,
                             std::source_location location = std::source_location::current());

}  // namespace qv_server::panic
