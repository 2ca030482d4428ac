#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "qv_yaml/read.h"
#include "qv_yaml/value.h"

// The shared reading of internally tagged enumerations (an operation by "op",
// an action by "action"): the tag entry is resolved as soon as it is seen,
// every other entry is held back for the variant's record.
namespace runtime::instance::upgrade::spec::detail {

// What a YAML tag inside a held-back entry does: fail the reading where it
// stands, or wait for the variant's record, which may ignore the entry.
enum class FieldTags { kReject, kLeaveToRecord };

struct TaggedContent {
  std::size_t variant = 0;
  // The entries besides the tag, in document order.
  qv_yaml::Mapping fields;
};

// The variant named by a tag value: one of `names`, or its index.
qv_yaml::read::ReadResult<std::size_t> read_variant(const qv_yaml::Value& tag,
                                                    std::span<const std::string_view> names);

// Splits a mapping into its tag and the held-back entries.
qv_yaml::read::ReadResult<TaggedContent> read_tagged_mapping(const qv_yaml::Value& node,
                                                             std::string_view tag_key,
                                                             std::span<const std::string_view> names,
                                                             FieldTags field_tags);

}  // namespace runtime::instance::upgrade::spec::detail
