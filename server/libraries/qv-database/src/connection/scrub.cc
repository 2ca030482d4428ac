#include "connection/scrub.h"

#include <string>
#include <vector>

namespace connection {
namespace {

std::string doubled(std::string_view text, char c) {
  std::string out;
  for (char k : text) {
    out += k;
    if (k == c) out += c;
  }
  return out;
}

void replace_all(std::string& text, std::string_view needle) {
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + kScrubbed.size())) {
    text.replace(at, needle.size(), kScrubbed);
  }
}

}  // namespace

Error scrub(Error error, std::string_view secret) {
  if (secret.empty()) return error;
  // Longest first, so that a quoted form is not left half replaced.
  const std::string quoted = doubled(secret, '\'');
  const std::string escaped = doubled(quoted, '\\');
  const std::vector<std::string> forms = {escaped, quoted, std::string(secret)};
  for (std::string* text : {&error.message, &error.detail, &error.hint, &error.context}) {
    for (const std::string& form : forms) replace_all(*text, form);
  }
  return error;
}

}  // namespace connection
