#pragma once

// Values bound to the numbered placeholders ($1, $2, ...) of a statement.
// Each is sent as text together with the OID of its type, so the server
// reads it as that type; a NULL is sent without a type and takes the one
// its place in the statement asks for.

#include <libpq-fe.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace connection {

// The OIDs of the built-in types this layer binds and reads.
namespace type_oid {
inline constexpr Oid kUnknown = 0;
inline constexpr Oid kBool = 16;
inline constexpr Oid kName = 19;
inline constexpr Oid kInt8 = 20;
inline constexpr Oid kInt4 = 23;
inline constexpr Oid kText = 25;
inline constexpr Oid kBpchar = 1042;
inline constexpr Oid kVarchar = 1043;
}  // namespace type_oid

struct Null {
  friend bool operator==(Null, Null) = default;
};

using Param = std::variant<Null, std::string, std::int32_t, std::int64_t, bool>;

// text 25, int4 23, int8 20, bool 16; none (0) for a NULL.
Oid type_of(const Param& param);

// The value's text form ("42", "true"); none for a NULL.
std::optional<std::string> text_of(const Param& param);

}  // namespace connection
