#pragma once
// A value of a statement: written inline as an SQL literal, or bound as a
// numbered parameter, depending on how the statement is rendered.

#include <cstdint>
#include <string>
#include <variant>

namespace sqlbuilder {

struct Null {
  friend bool operator==(Null, Null) = default;
};

// Literal forms: NULL, 'text' (inner quotes doubled), 42, true / false; an
// int64 in the int32 range is written 42::bigint, so that it stays a bigint
// (-42::bigint is -(42::bigint)). As a parameter, every value is bound, NULL
// too.
using Value = std::variant<Null, std::string, std::int32_t, std::int64_t, bool>;

}  // namespace sqlbuilder
