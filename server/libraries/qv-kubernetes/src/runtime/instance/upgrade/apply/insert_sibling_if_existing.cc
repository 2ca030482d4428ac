#include "runtime/instance/upgrade/apply/insert_sibling_if_existing.h"

#include "runtime/instance/upgrade/apply/place_sibling.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

bool beside(const spec::InsertSiblingIfExisting& op, qv_yaml::Value& node, const qv_yaml::Value& anchor) {
  if (!node.is_mapping()) return false;
  qv_yaml::Mapping& mapping = node.as_mapping();
  const qv_yaml::Value sibling(op.sibling);
  if (!mapping.contains(anchor) || mapping.contains(sibling)) return false;
  place_sibling(mapping, anchor, sibling, op.value, op.placement);
  return true;
}

bool beside_everywhere(const spec::InsertSiblingIfExisting& op, qv_yaml::Value& node,
                       const qv_yaml::Value& anchor) {
  const bool inserted = beside(op, node, anchor);
  bool changed = inserted;
  if (node.is_sequence()) {
    for (qv_yaml::Value& item : node.as_sequence()) changed = beside_everywhere(op, item, anchor) || changed;
  } else if (node.is_mapping()) {
    const qv_yaml::Value sibling(op.sibling);
    for (auto& [key, value] : node.as_mapping()) {
      if (inserted && key == sibling) continue;
      changed = beside_everywhere(op, value, anchor) || changed;
    }
  }
  return changed;
}

Changed replace_kind(const spec::InsertSiblingIfExisting& op, WorkingText& text) {
  const auto segments = split_leaf(op.leaf);
  const qv_yaml::Value anchor(segments.back());
  return edit_document(text, [&](qv_yaml::Value& document) {
    if (op.scope == spec::Scope::kEverywhere) return beside_everywhere(op, document, anchor);
    qv_yaml::Value* parent = walk(document, std::span(segments).first(segments.size() - 1));
    return parent != nullptr && beside(op, *parent, anchor);
  });
}

}  // namespace runtime::instance::upgrade::apply
