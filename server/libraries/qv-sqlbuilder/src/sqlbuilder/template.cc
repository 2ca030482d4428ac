#include "sqlbuilder/template.h"

#include <cctype>
#include <string>

#include "sqlbuilder/build_error.h"

namespace sqlbuilder {
namespace {

[[noreturn]] void defect(std::string_view pattern, std::string_view what) {
  throw BuildError("Template \"" + std::string(pattern) + "\": " + std::string(what));
}

// The argument number between the braces at `open`; `close` receives the
// position of the closing brace. Empty braces give `next`.
std::size_t placeholder(std::string_view pattern, std::size_t open, std::size_t& close, std::size_t& next) {
  close = pattern.find('}', open);
  if (close == std::string_view::npos) defect(pattern, "unclosed brace");
  const std::string_view digits = pattern.substr(open + 1, close - open - 1);
  if (digits.empty()) return next++;
  if (digits.size() > 4) defect(pattern, "bad placeholder");
  std::size_t index = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) defect(pattern, "bad placeholder");
    index = index * 10 + static_cast<std::size_t>(c - '0');
  }
  return index;
}

}  // namespace

std::string format_template(std::string_view pattern, const std::vector<std::string>& args) {
  std::string out;
  out.reserve(pattern.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const bool doubled = i + 1 < pattern.size() && pattern[i + 1] == c;
    if ((c == '{' || c == '}') && doubled) {
      out += c;
      ++i;
    } else if (c == '}') {
      defect(pattern, "lone closing brace");
    } else if (c == '{') {
      std::size_t close = 0;
      const std::size_t index = placeholder(pattern, i, close, next);
      if (index >= args.size()) defect(pattern, "missing argument " + std::to_string(index));
      out += args[index];
      i = close;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace sqlbuilder
