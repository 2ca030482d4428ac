#include "runtime/instance/upgrade/spec/tagged_enum.h"

#include <fmt/format.h>

namespace runtime::instance::upgrade::spec::detail {

namespace read = qv_yaml::read;

read::ReadResult<std::size_t> read_variant(const qv_yaml::Value& tag, std::span<const std::string_view> names) {
  if (tag.is_string()) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == tag.as_string()) return i;
    }
    return qv_common::fail(read::unknown_variant(tag.as_string(), names, tag.mark()));
  }
  if (tag.is_unsigned()) {
    if (tag.as_unsigned() < names.size()) return static_cast<std::size_t>(tag.as_unsigned());
    return qv_common::fail(read::invalid_value(read::describe(tag),
                                               fmt::format("variant index 0 <= i < {}", names.size()), tag.mark()));
  }
  return qv_common::fail(read::invalid_type(tag, "variant identifier"));
}

read::ReadResult<TaggedContent> read_tagged_mapping(const qv_yaml::Value& node, std::string_view tag_key,
                                                    std::span<const std::string_view> names, FieldTags field_tags) {
  TaggedContent content;
  bool tagged = false;
  for (const auto& [key, value] : node.as_mapping()) {
    if (field_tags == FieldTags::kReject) {
      QV_RETURN_IF_ERROR(read::check_untagged(key));
      QV_RETURN_IF_ERROR(read::check_untagged(value));
    }
    if (key.is_string() && key.as_string() == tag_key) {
      if (tagged) return qv_common::fail(read::duplicate_field(tag_key, key.mark()));
      QV_ASSIGN_OR_RETURN(content.variant, read_variant(value, names));
      tagged = true;
    } else {
      content.fields.push_back(key, value);
    }
  }
  if (!tagged) return qv_common::fail(read::missing_field(tag_key, node.mark()));
  return content;
}

}  // namespace runtime::instance::upgrade::spec::detail
