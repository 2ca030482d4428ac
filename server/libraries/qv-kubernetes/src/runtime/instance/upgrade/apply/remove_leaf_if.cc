#include "qv_yaml/extent.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

// Removes the leaf's key; the mapping's last entry takes its place.
Changed replace_kind(const spec::RemoveLeafIf& op, WorkingText& text) {
  const auto segments = split_leaf(op.leaf);
  const qv_yaml::Value key(segments.back());
  return edit_document(text, [&](qv_yaml::Value& document) {
    qv_yaml::Value* parent = walk(document, std::span(segments).first(segments.size() - 1));
    if (parent == nullptr || !parent->is_mapping()) return false;
    const qv_yaml::Value* value = parent->as_mapping().find(key);
    if (value == nullptr) return false;
    text.shrink(qv_yaml::extent_of(key).bytes + qv_yaml::extent_of(*value).bytes);
    return parent->as_mapping().swap_remove(key);
  });
}

}  // namespace runtime::instance::upgrade::apply
