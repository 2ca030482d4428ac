#include "qv_yaml/read.h"

#include <charconv>
#include <cmath>
#include <limits>

#include <fmt/format.h>

#include "qv_yaml/parse.h"

namespace qv_yaml::read {
namespace {

constexpr std::string_view kEnumInput = "untagged and internally tagged enums do not support enum input";

bool holds_tag(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::kTagged: return true;
    case Value::Kind::kSequence:
      for (const Value& item : value.as_sequence()) {
        if (holds_tag(item)) return true;
      }
      return false;
    case Value::Kind::kMapping:
      for (const auto& [key, item] : value.as_mapping()) {
        if (holds_tag(key) || holds_tag(item)) return true;
      }
      return false;
    default: return false;
  }
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

// A float as messages show it: shortest round-trip digits, never an
// exponent, and ".0" after a whole number (1e5 is 100000.0).
std::string float_in_message(double value) {
  if (!std::isfinite(value)) return float_text(value);
  // Room for the longest fixed form of a double, the smallest subnormal.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

}  // namespace

std::string ReadError::text() const { return message + location(mark); }

std::string describe(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::kNull: return "unit value";
    case Value::Kind::kBool: return fmt::format("boolean `{}`", value.as_bool());
    case Value::Kind::kInteger:
      if (value.is_unsigned()) return fmt::format("integer `{}`", value.as_unsigned());
      return fmt::format("integer `{}`", value.as_negative());
    case Value::Kind::kFloat: return fmt::format("floating point `{}`", float_in_message(value.as_double()));
    case Value::Kind::kString: return "string " + quoted(value.as_string());
    case Value::Kind::kSequence: return "sequence";
    case Value::Kind::kMapping: return "map";
    case Value::Kind::kTagged: return "enum";
  }
  return "value";
}

std::string expected_names(std::span<const std::string_view> names) {
  switch (names.size()) {
    case 0: return "nothing";
    case 1: return fmt::format("`{}`", names[0]);
    case 2: return fmt::format("`{}` or `{}`", names[0], names[1]);
    default: {
      std::string out = "one of ";
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += ", ";
        out += fmt::format("`{}`", names[i]);
      }
      return out;
    }
  }
}

ReadError invalid_type(const Value& found, std::string_view expected) {
  if (found.is_tagged()) return ReadError{std::string(kEnumInput), found.mark()};
  return ReadError{fmt::format("invalid type: {}, expected {}", describe(found), expected), found.mark()};
}

ReadError invalid_value(std::string_view found, std::string_view expected, Mark mark) {
  return ReadError{fmt::format("invalid value: {}, expected {}", found, expected), mark};
}

ReadError invalid_length(std::size_t length, std::string_view expected, Mark mark) {
  return ReadError{fmt::format("invalid length {}, expected {}", length, expected), mark};
}

ReadError missing_field(std::string_view field, Mark mark) {
  return ReadError{fmt::format("missing field `{}`", field), mark};
}

ReadError duplicate_field(std::string_view field, Mark mark) {
  return ReadError{fmt::format("duplicate field `{}`", field), mark};
}

ReadError unknown_field(std::string_view field, std::span<const std::string_view> expected, Mark mark) {
  if (expected.empty()) return ReadError{fmt::format("unknown field `{}`, there are no fields", field), mark};
  return ReadError{fmt::format("unknown field `{}`, expected {}", field, expected_names(expected)), mark};
}

ReadError unknown_variant(std::string_view variant, std::span<const std::string_view> expected, Mark mark) {
  if (expected.empty()) return ReadError{fmt::format("unknown variant `{}`, there are no variants", variant), mark};
  return ReadError{fmt::format("unknown variant `{}`, expected {}", variant, expected_names(expected)), mark};
}

std::string elements_in_sequence(std::size_t count) {
  return fmt::format("{} element{} in sequence", count, count == 1 ? "" : "s");
}

ReadResult<std::string> string(const Value& value) {
  if (!value.is_string()) return qv_common::fail(invalid_type(value, "a string"));
  return value.as_string();
}

ReadResult<std::optional<std::string>> optional_string(const Value& value) {
  if (value.is_null()) return std::optional<std::string>();
  QV_ASSIGN_OR_RETURN(std::string text, string(value));
  return std::optional<std::string>(std::move(text));
}

ReadResult<std::uint32_t> u32(const Value& value) {
  if (value.is_unsigned()) {
    if (value.as_unsigned() > std::numeric_limits<std::uint32_t>::max()) {
      return qv_common::fail(invalid_value(describe(value), "u32", value.mark()));
    }
    return static_cast<std::uint32_t>(value.as_unsigned());
  }
  if (value.is_negative()) return qv_common::fail(invalid_value(describe(value), "u32", value.mark()));
  return qv_common::fail(invalid_type(value, "u32"));
}

ReadResult<bool> boolean(const Value& value) {
  if (value.kind() != Value::Kind::kBool) return qv_common::fail(invalid_type(value, "a boolean"));
  return value.as_bool();
}

ReadResult<std::string> scalar_text(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::kSequence:
    case Value::Kind::kMapping:
    case Value::Kind::kTagged: return qv_common::fail(invalid_type(value, "a string"));
    default: return value.raw();
  }
}

qv_common::Result<void, ReadError> check_untagged(const Value& value) {
  if (holds_tag(value)) return qv_common::fail(ReadError{std::string(kEnumInput), value.mark()});
  return {};
}

ReadResult<std::vector<bool>> read_record(const Mapping& entries, const RecordShape& shape,
                                          const FieldReader& read_field) {
  std::vector<bool> given(shape.fields.size(), false);
  for (const auto& [key, value] : entries) {
    std::optional<std::size_t> field;
    if (key.is_string()) {
      for (std::size_t i = 0; i < shape.fields.size(); ++i) {
        if (shape.fields[i] == key.as_string()) field = i;
      }
      if (!field && shape.unknown == UnknownKeys::kReject) {
        return qv_common::fail(unknown_field(key.as_string(), shape.fields, key.mark()));
      }
    } else if (key.is_unsigned()) {
      if (key.as_unsigned() < shape.fields.size()) {
        field = static_cast<std::size_t>(key.as_unsigned());
      } else if (shape.unknown == UnknownKeys::kReject) {
        return qv_common::fail(invalid_value(
            describe(key), fmt::format("field index 0 <= i < {}", shape.fields.size()), key.mark()));
      }
    } else if (shape.unknown == UnknownKeys::kReject) {
      return qv_common::fail(invalid_type(key, "field identifier"));
    }
    if (!field) continue;
    if (given[*field]) return qv_common::fail(duplicate_field(shape.fields[*field], key.mark()));
    given[*field] = true;
    if (auto error = read_field(*field, value)) return qv_common::fail(std::move(*error));
  }
  return given;
}


}  // namespace qv_yaml::read
