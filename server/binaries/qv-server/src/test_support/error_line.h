#pragma once

#include <string>
#include <string_view>

namespace test_support {

// The line the program writes to standard error when an upgrade error with
// `code` and `message` ends a command (backtrace capture disabled).
std::string upgrade_error_line(int code, std::string_view message);

}  // namespace test_support
