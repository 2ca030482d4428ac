#include <algorithm>

#include "qv_yaml/extent.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {
namespace {

bool is_flat(const qv_yaml::Mapping& mapping) {
  return !mapping.empty() && std::none_of(mapping.begin(), mapping.end(), [](const auto& entry) {
    const qv_yaml::Value& value = entry.second.untagged();
    return value.is_mapping() || value.is_sequence();
  });
}

}  // namespace

// Moves the entries of a non-empty flat mapping under the key `under`.
Changed replace_kind(const spec::NestChildrenIfFlat& op, WorkingText& text) {
  const auto segments = split_leaf(op.leaf);
  return edit_document(text, [&](qv_yaml::Value& document) -> Changed {
    qv_yaml::Value* leaf = walk(document, segments);
    if (leaf == nullptr || !leaf->is_mapping() || !is_flat(leaf->as_mapping())) return false;
    // The new key and the mapping that holds it.
    QV_RETURN_IF_ERROR(text.grow(qv_yaml::extent_of(qv_yaml::Value(op.under)).bytes + 1));
    qv_yaml::Mapping nested;
    nested.push_back(qv_yaml::Value(op.under), std::move(*leaf));
    *leaf = std::move(nested);
    return true;
  });
}

}  // namespace runtime::instance::upgrade::apply
