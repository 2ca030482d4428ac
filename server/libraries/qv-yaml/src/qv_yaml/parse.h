#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "result.h"
#include "qv_yaml/value.h"

namespace qv_yaml {

struct ParseOptions {
  // A mapping that repeats a key is an error; when false every entry is kept
  // in document order, for readers that decide about repeats themselves.
  bool reject_duplicate_keys = true;
  // A text that holds no document reads as null instead of failing.
  bool empty_is_null = false;
};

// Deepest nesting of collections a document may have.
inline constexpr std::size_t kMaxDepth = 128;
// Most nodes, and most bytes of text (as `extent_of` counts them), that
// alias expansion may add to one document.
inline constexpr std::size_t kMaxAliasNodes = 250'000;
inline constexpr std::size_t kMaxAliasBytes = 16 * 1024 * 1024;

// Reads text that holds exactly one YAML document. Failure messages name the
// problem and where it lies ("... at line L column C").
qv_common::Result<Value, std::string> parse_single(std::string_view text, ParseOptions options = {});

// The first repeated key of a value read with repeated keys kept, found in
// the order in which a parse that rejects them would meet it; the failure
// carries the same message as that parse.
qv_common::Result<void, std::string> check_unique_keys(const Value& value);

// " at line L column C" for a mark, one-based.
std::string location(Mark mark);

}  // namespace qv_yaml
