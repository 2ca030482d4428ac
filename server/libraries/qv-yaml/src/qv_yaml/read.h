#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "result.h"
#include "qv_yaml/value.h"

// Typed, field-checked reading of parsed YAML values. Failures carry the
// message forms of a typed deserialiser ("missing field `op`", "invalid type:
// integer `5`, expected a string", ...) and the place in the document.
namespace qv_yaml::read {

struct ReadError {
  std::string message;
  Mark mark;

  // The message followed by " at line L column C".
  std::string text() const;
};

template <typename T>
using ReadResult = qv_common::Result<T, ReadError>;

// What a value is, as the messages name it: integer `5`, boolean `true`,
// floating point `1.5`, string "x", unit value, map, sequence, enum. A number
// is shown by its value, not as written: 0x1F is integer `31`.
std::string describe(const Value& value);

// Accepted names: "`a`", "`a` or `b`", "one of `a`, `b`, `c`".
std::string expected_names(std::span<const std::string_view> names);

ReadError invalid_type(const Value& found, std::string_view expected);
ReadError invalid_value(std::string_view found, std::string_view expected, Mark mark);
ReadError invalid_length(std::size_t length, std::string_view expected, Mark mark);
ReadError missing_field(std::string_view field, Mark mark);
ReadError duplicate_field(std::string_view field, Mark mark);
ReadError unknown_field(std::string_view field, std::span<const std::string_view> expected, Mark mark);
ReadError unknown_variant(std::string_view variant, std::span<const std::string_view> expected, Mark mark);

// "N elements in sequence", "1 element in sequence".
std::string elements_in_sequence(std::size_t count);

// A YAML string; other scalars are the wrong type ("a string").
ReadResult<std::string> string(const Value& value);
// A YAML string, or null for absent.
ReadResult<std::optional<std::string>> optional_string(const Value& value);
// An unsigned integer that fits 32 bits ("u32").
ReadResult<std::uint32_t> u32(const Value& value);
// A YAML boolean ("a boolean").
ReadResult<bool> boolean(const Value& value);
// Any scalar, as the text it was written with ("a string" otherwise).
ReadResult<std::string> scalar_text(const Value& value);
// Fails as a tagged value reads when the node holds a tag anywhere inside.
qv_common::Result<void, ReadError> check_untagged(const Value& value);

// Puts a read value into `target`; the failure, if any, for a FieldReader.
template <typename T>
std::optional<ReadError> assign(T& target, ReadResult<T> value) {
  if (!value) return std::move(value).error();
  target = std::move(*value);
  return std::nullopt;
}

// The record reading: which keys a record declares and what it does with
// the others.
enum class UnknownKeys { kReject, kIgnore };

struct RecordShape {
  std::span<const std::string_view> fields;
  UnknownKeys unknown = UnknownKeys::kReject;
};

// Reads one field's value; returns a failure to end the reading.
using FieldReader = std::function<std::optional<ReadError>(std::size_t field, const Value& value)>;

// Walks a mapping's entries in document order. A string key names a field by
// name, an unsigned integer key by its position; `read_field` takes the value
// at once, so the first bad entry decides the failure. A field given twice is
// a duplicate; what a key that names no field means, whatever its kind,
// follows the shape. Returns which fields were given.
ReadResult<std::vector<bool>> read_record(const Mapping& entries, const RecordShape& shape,
                                          const FieldReader& read_field);


}  // namespace qv_yaml::read
