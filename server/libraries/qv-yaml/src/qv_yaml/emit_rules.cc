#include "qv_yaml/emit_rules.h"

#include "qv_yaml/resolve.h"
#include "qv_yaml/yaml11.h"

namespace qv_yaml {

StringStyle string_style(std::string_view text) {
  if (text.find('\n') != std::string_view::npos) return StringStyle::kLiteral;
  if (resolves_to_non_string(text) || yaml11_resolves_to_non_string(text)) return StringStyle::kSingleQuoted;
  return StringStyle::kAny;
}

std::string canonical_text(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::kNull: return "null";
    case Value::Kind::kBool: return value.as_bool() ? "true" : "false";
    case Value::Kind::kInteger:
      return value.is_unsigned() ? std::to_string(value.as_unsigned()) : std::to_string(value.as_negative());
    default: return float_text(value.as_double());
  }
}

}  // namespace qv_yaml
