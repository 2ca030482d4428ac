#include "qv_yaml/yaml11.h"

#include <cstddef>

namespace qv_yaml {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
// Underscores may stand between the digits of a YAML 1.1 number.
bool is_decimal(char c) { return is_digit(c) || c == '_'; }
bool is_binary(char c) { return c == '0' || c == '1' || c == '_'; }
bool is_octal(char c) { return (c >= '0' && c <= '7') || c == '_'; }
bool is_hexadecimal(char c) {
  return is_decimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Whether one of the forms below may start with `c`: a word, a sign, a full
// stop or a digit.
bool may_start_non_string(char c) {
  switch (c) {
    case 'y': case 'Y': case 'n': case 'N': case 'o': case 'O': case 't': case 'T': case 'f': case 'F':
    case '~': case '<': case '=': case '+': case '-': case '.':
      return true;
    default: return is_digit(c);
  }
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_ignoring_case(std::string_view text, std::string_view lower_word) {
  if (text.size() != lower_word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (lower(text[i]) != lower_word[i]) return false;
  }
  return true;
}

// The end of the run of characters that `accept` takes, starting at `from`.
template <typename Accept>
std::size_t run_end(std::string_view text, std::size_t from, Accept accept) {
  while (from < text.size() && accept(text[from])) ++from;
  return from;
}

bool is_word(std::string_view text) {
  static constexpr std::string_view kWords[] = {"y",    "n",     "yes", "no", "on", "off", "true",
                                                "false", "null", "~",   "<<", "="};
  if (text.size() > 5) return false;
  for (std::string_view word : kWords) {
    if (same_ignoring_case(text, word)) return true;
  }
  return false;
}

// 0b, 0o or 0x, then digits of that base.
bool is_prefixed_integer(std::string_view body) {
  if (body.size() < 3 || body[0] != '0') return false;
  switch (lower(body[1])) {
    case 'b': return run_end(body, 2, is_binary) == body.size();
    case 'o': return run_end(body, 2, is_octal) == body.size();
    case 'x': return run_end(body, 2, is_hexadecimal) == body.size();
    default: return false;
  }
}

// Digits with an optional fraction, or a fraction alone, then an optional
// exponent: decimal integers (also with leading zeros) and floats.
bool is_decimal_number(std::string_view body) {
  std::size_t at = run_end(body, 0, is_decimal);
  if (at < body.size() && body[at] == '.') {
    at = run_end(body, at + 1, is_decimal);
  } else if (at == 0) {
    return false;
  }
  if (at < body.size() && lower(body[at]) == 'e') {
    ++at;
    if (at < body.size() && (body[at] == '+' || body[at] == '-')) ++at;
    const std::size_t end = run_end(body, at, is_decimal);
    if (end == at) return false;
    at = end;
  }
  return at == body.size();
}

// Base 60: digits, then groups of ':' and 0 to 59, then an optional fraction.
bool is_sexagesimal(std::string_view body) {
  std::size_t at = run_end(body, 0, is_decimal);
  if (at == 0 || at == body.size() || body[at] != ':') return false;
  while (at < body.size() && body[at] == ':') {
    const std::size_t end = run_end(body, at + 1, is_digit);
    const std::size_t length = end - at - 1;
    if (length == 0 || length > 2 || (length == 2 && body[at + 1] > '5')) return false;
    at = end;
  }
  if (at < body.size() && body[at] == '.') at = run_end(body, at + 1, is_decimal);
  return at == body.size();
}

bool is_infinity_or_nan(std::string_view body) {
  return same_ignoring_case(body, ".inf") || same_ignoring_case(body, ".nan");
}

// A date (year-month-day, one or two digits for month and day), alone or
// followed by a time of day and an optional time zone.
class TimestampScanner {
 public:
  explicit TimestampScanner(std::string_view text) : text_(text) {}

  bool matches() {
    if (!digits(4, 4) || !eat('-') || !digits(1, 2) || !eat('-') || !digits(1, 2)) return false;
    if (done()) return true;
    if (!eat('T') && !eat('t') && !blanks()) return false;
    if (!digits(1, 2) || !eat(':') || !digits(1, 2) || !eat(':') || !digits(1, 2)) return false;
    if (eat('.')) at_ = run_end(text_, at_, is_digit);
    blanks();
    if (done() || eat('Z')) return done();
    if ((!eat('+') && !eat('-')) || !digits(1, 2)) return false;
    return done() || (eat(':') && digits(2, 2) && done());
  }

 private:
  bool done() const { return at_ == text_.size(); }
  bool eat(char c) {
    if (done() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool blanks() {
    const std::size_t end = run_end(text_, at_, is_blank);
    const bool any = end > at_;
    at_ = end;
    return any;
  }
  bool digits(std::size_t least, std::size_t most) {
    const std::size_t end = run_end(text_, at_, is_digit);
    const std::size_t count = end - at_;
    at_ = end;
    return count >= least && count <= most;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

bool yaml11_resolves_to_non_string(std::string_view text) {
  if (text.empty()) return true;
  if (!may_start_non_string(text[0])) return false;
  if (is_word(text)) return true;
  const char first = text[0];
  if (!is_digit(first) && first != '+' && first != '-' && first != '.') return false;
  const std::string_view body = first == '+' || first == '-' ? text.substr(1) : text;
  return is_decimal_number(body) || is_prefixed_integer(body) || is_sexagesimal(body) || is_infinity_or_nan(body) ||
         TimestampScanner(text).matches();
}

}  // namespace qv_yaml
