#pragma once

#include <fmt/format.h>

#include <cstdint>
#include <string_view>

#include "base/error/entry.h"

namespace base::error::naming {

// The kinds of segment a Kubernetes name is assembled from.
enum class NameSegment : std::uint8_t { Component, Name, WorkerId };

// The message form: "component", "name" or "workerid".
std::string_view message(NameSegment segment);
// The debug form: the variant name.
std::string_view debug_name(NameSegment segment);
// The segment as a field value of an error enumeration.
catalog::Entry entry(NameSegment segment);

}  // namespace base::error::naming

// Formats the message form, honouring width, fill and alignment.
template <>
struct fmt::formatter<base::error::naming::NameSegment> : fmt::formatter<std::string_view> {
  template <typename FormatContext>
  auto format(base::error::naming::NameSegment segment, FormatContext& context) const {
    return fmt::formatter<std::string_view>::format(base::error::naming::message(segment), context);
  }
};
