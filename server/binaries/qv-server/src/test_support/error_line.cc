#include "test_support/error_line.h"

#include <fmt/format.h>

namespace test_support {
namespace {

// `text` as the inside of a JSON string.
std::string json_escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '"': escaped += "\\\""; break;
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\t': escaped += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          escaped += fmt::format("\\u{:04x}", static_cast<unsigned char>(c));
        } else {
          escaped += c;
        }
    }
  }
  return escaped;
}

}  // namespace

std::string upgrade_error_line(int code, std::string_view message) {
  const std::string rendering = fmt::format(
      "CommandError {{ status: GeneralError, source: Some(QvError {{ domain: \"UpgradeError\", code: "
      "\"UpgradeError::{}\", api_error: InternalError, qv_error: {} }}) }}",
      code, message);
  return "{\"error\":\"" + json_escaped(rendering) + "\"}\n";
}

}  // namespace test_support
