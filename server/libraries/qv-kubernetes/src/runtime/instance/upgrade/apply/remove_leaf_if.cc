#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

// Removes the leaf's key; the mapping's last entry takes its place.
Changed replace_kind(const spec::RemoveLeafIf& op, WorkingText& text) {
  const auto segments = split_leaf(op.leaf);
  return edit_document(text, [&](qv_yaml::Value& document) {
    qv_yaml::Value* parent = walk(document, std::span(segments).first(segments.size() - 1));
    return parent != nullptr && parent->is_mapping() &&
           parent->as_mapping().swap_remove(qv_yaml::Value(segments.back()));
  });
}

}  // namespace runtime::instance::upgrade::apply
