#include "qv_yaml/resolve.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace qv_yaml {
namespace {

// Whether the text starts as no null, boolean, integer or float does: then it
// is a string whatever follows.
bool starts_as_string(std::string_view t) {
  if (t.empty()) return false;
  switch (t[0]) {
    case '~': case 'n': case 'N': case 't': case 'T': case 'f': case 'F': case '+': case '-': case '.':
    case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
      return false;
    default: return true;
  }
}

bool is_null(std::string_view t) { return t.empty() || t == "~" || t == "null" || t == "Null" || t == "NULL"; }

std::optional<bool> as_bool(std::string_view t) {
  if (t == "true" || t == "True" || t == "TRUE") return true;
  if (t == "false" || t == "False" || t == "FALSE") return false;
  return std::nullopt;
}

bool all_digits(std::string_view t, int base) {
  if (t.empty()) return false;
  for (char c : t) {
    const bool ok = base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                    : base == 8 ? (c >= '0' && c <= '7')
                                : (c >= '0' && c <= '9');
    if (!ok) return false;
  }
  return true;
}

// Core-schema integer: [-+]?[0-9]+ | 0o[0-7]+ | 0x[0-9a-fA-F]+. An integer too
// large for 64 bits falls through to the float rule.
std::optional<Value> as_integer(std::string_view t) {
  int base = 10;
  bool negative = false;
  std::string_view digits = t;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'o' || t[1] == 'x')) {
    base = t[1] == 'o' ? 8 : 16;
    digits = t.substr(2);
  } else if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
    negative = t[0] == '-';
    digits = t.substr(1);
  }
  if (!all_digits(digits, base)) return std::nullopt;
  std::uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (!negative) return Value(magnitude);
  if (magnitude == 0) return Value(std::uint64_t{0});
  constexpr auto kLimit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
  if (magnitude > kLimit) return std::nullopt;
  return Value(static_cast<std::int64_t>(0 - magnitude));
}

// Core-schema float: [-+]?(\.[0-9]+|[0-9]+(\.[0-9]*)?)([eE][-+]?[0-9]+)?,
// [-+]?\.(inf|Inf|INF), \.(nan|NaN|NAN).
std::optional<double> as_float(std::string_view t) {
  if (t == ".nan" || t == ".NaN" || t == ".NAN") return std::numeric_limits<double>::quiet_NaN();
  std::string_view body = t;
  bool negative = false;
  if (!body.empty() && (body[0] == '-' || body[0] == '+')) {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  if (body == ".inf" || body == ".Inf" || body == ".INF") {
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  }
  std::size_t i = 0;
  std::size_t int_digits = 0;
  while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) ++i, ++int_digits;
  std::size_t frac_digits = 0;
  if (i < body.size() && body[i] == '.') {
    ++i;
    while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) ++i, ++frac_digits;
  }
  if (int_digits == 0 && frac_digits == 0) return std::nullopt;
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
    ++i;
    if (i < body.size() && (body[i] == '-' || body[i] == '+')) ++i;
    std::size_t exp_digits = 0;
    while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != body.size()) return std::nullopt;
  const std::string copy(t);
  return std::strtod(copy.c_str(), nullptr);
}

}  // namespace

Value resolve_plain(std::string_view text) {
  if (text.empty()) return Value::empty_null();
  if (starts_as_string(text)) return Value(text);
  Value value;
  if (is_null(text)) {
    value = Value(nullptr);
  } else if (auto b = as_bool(text)) {
    value = Value(*b);
  } else if (auto n = as_integer(text)) {
    value = std::move(*n);
  } else if (auto d = as_float(text)) {
    value = Value(*d);
  } else {
    return Value(text);
  }
  // Most scalars are written in their canonical form; only the others need
  // their text kept.
  if (value.raw() != text) value.set_raw(std::string(text));
  return value;
}

bool resolves_to_non_string(std::string_view text) {
  if (starts_as_string(text)) return false;
  return is_null(text) || as_bool(text) || as_integer(text) || as_float(text);
}

}  // namespace qv_yaml
