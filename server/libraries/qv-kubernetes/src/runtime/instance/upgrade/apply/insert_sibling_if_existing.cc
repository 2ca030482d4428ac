#include "runtime/instance/upgrade/apply/insert_sibling_if_existing.h"

#include "qv_yaml/extent.h"
#include "runtime/instance/upgrade/apply/place_sibling.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/result_limit.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

bool beside(const spec::InsertSiblingIfExisting& op, qv_yaml::Value& node, const qv_yaml::Value& anchor,
            InsertionRoom& room) {
  if (!node.is_mapping()) return false;
  qv_yaml::Mapping& mapping = node.as_mapping();
  const qv_yaml::Value sibling(op.sibling);
  if (!mapping.contains(anchor) || mapping.contains(sibling)) return false;
  if (room.each > room.left) {
    room.exceeded = true;
    return false;
  }
  room.left -= room.each;
  place_sibling(mapping, anchor, sibling, op.value, op.placement);
  return true;
}

bool beside_everywhere(const spec::InsertSiblingIfExisting& op, qv_yaml::Value& node,
                       const qv_yaml::Value& anchor, InsertionRoom& room) {
  const bool inserted = beside(op, node, anchor, room);
  bool changed = inserted;
  if (room.exceeded) return changed;
  if (node.is_sequence()) {
    for (qv_yaml::Value& item : node.as_sequence()) {
      changed = beside_everywhere(op, item, anchor, room) || changed;
      if (room.exceeded) break;
    }
  } else if (node.is_mapping()) {
    const qv_yaml::Value sibling(op.sibling);
    for (auto& [key, value] : node.as_mapping()) {
      if (inserted && key == sibling) continue;
      changed = beside_everywhere(op, value, anchor, room) || changed;
      if (room.exceeded) break;
    }
  }
  return changed;
}

// Each insertion adds a copy of the value, so one operation with scope
// everywhere can double a document: the room stops it at the limit.
Changed replace_kind(const spec::InsertSiblingIfExisting& op, WorkingText& text) {
  const auto segments = split_leaf(op.leaf);
  const qv_yaml::Value anchor(segments.back());
  return edit_document(text, [&](qv_yaml::Value& document) -> Changed {
    InsertionRoom room{qv_yaml::extent_of(qv_yaml::Value(op.sibling)).bytes + qv_yaml::extent_of(op.value).bytes,
                       text.room()};
    bool changed = false;
    if (op.scope == spec::Scope::kEverywhere) {
      changed = beside_everywhere(op, document, anchor, room);
    } else {
      qv_yaml::Value* parent = walk(document, std::span(segments).first(segments.size() - 1));
      changed = parent != nullptr && beside(op, *parent, anchor, room);
    }
    if (room.exceeded) return qv_common::fail(result_too_large(text.version(), text.entry()));
    QV_RETURN_IF_ERROR(text.grow(text.room() - room.left));
    return changed;
  });
}

}  // namespace runtime::instance::upgrade::apply
