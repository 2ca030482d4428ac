#include "runtime/instance/upgrade/apply/split_leaf.h"

#include <algorithm>

namespace runtime::instance::upgrade::apply {

std::vector<std::string> split_leaf(std::string_view leaf) {
  std::vector<std::string> segments;
  segments.reserve(static_cast<std::size_t>(std::count(leaf.begin(), leaf.end(), '.')) + 1);
  std::string current;
  bool quoted = false;
  for (const char c : leaf) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '.' && !quoted) {
      segments.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  segments.push_back(std::move(current));
  return segments;
}

}  // namespace runtime::instance::upgrade::apply
