#pragma once
// Texts with their white space folded, for comparing multi-line statements
// with the same statements written on one line.

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace schema::testing {

// Every run of white space becomes one blank; none is left at either end.
inline std::string folded(std::string_view text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

inline std::vector<std::string> folded(const std::vector<std::string>& texts) {
  std::vector<std::string> out;
  for (const std::string& text : texts) out.push_back(folded(text));
  return out;
}

}  // namespace schema::testing
