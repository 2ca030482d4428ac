#include "absolute_path.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <system_error>

namespace qv_server::absolute_path {
namespace {

// The start of the result: two separators when the path begins with exactly
// two, one for any other absolute path, the current folder for a relative one.
std::optional<std::string> prefix_of(std::string_view path) {
  if (path.starts_with("//") && !path.starts_with("///")) return "//";
  if (path.starts_with('/')) return "/";
  std::error_code error;
  std::filesystem::path current = std::filesystem::current_path(error);
  if (error) return std::nullopt;
  return current.native();
}

void append_component(std::string& result, std::string_view component) {
  if (!result.ends_with('/')) result += '/';
  result += component;
}

}  // namespace

std::optional<std::filesystem::path> absolute_lexical(const std::filesystem::path& path) {
  const std::string_view text = path.native();
  if (text.empty()) return std::nullopt;
  std::optional<std::string> result = prefix_of(text);
  if (!result) return std::nullopt;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('/', start), text.size());
    const std::string_view component = text.substr(start, end - start);
    if (!component.empty() && component != ".") append_component(*result, component);
    start = end + 1;
  }
  if (text.ends_with('/') && !result->ends_with('/')) *result += '/';
  return std::filesystem::path(std::move(*result));
}

}  // namespace qv_server::absolute_path
