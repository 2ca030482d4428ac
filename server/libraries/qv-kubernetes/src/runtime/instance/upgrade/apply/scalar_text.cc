#include "runtime/instance/upgrade/apply/scalar_text.h"

namespace runtime::instance::upgrade::apply {

std::optional<std::string> scalar_text(const qv_yaml::Value& value) {
  using Kind = qv_yaml::Value::Kind;
  switch (value.kind()) {
    case Kind::kBool: return value.as_bool() ? "true" : "false";
    case Kind::kInteger:
      return value.is_unsigned() ? std::to_string(value.as_unsigned()) : std::to_string(value.as_negative());
    case Kind::kFloat: return qv_yaml::float_text(value.as_double());
    case Kind::kString: return value.as_string();
    default: return std::nullopt;
  }
}

}  // namespace runtime::instance::upgrade::apply
