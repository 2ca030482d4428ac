#pragma once
// Identifiers of the key-value table that records the schema's own state.

#include <string_view>

namespace schema {

enum class QuorvaleSystem { Table, Name, Value };

std::string_view to_string(QuorvaleSystem iden);

}  // namespace schema
