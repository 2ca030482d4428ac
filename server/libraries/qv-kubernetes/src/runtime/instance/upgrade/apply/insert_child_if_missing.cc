#include <fmt/format.h>

#include "base/error/upgrade.h"
#include "qv_yaml/extent.h"
#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"

namespace runtime::instance::upgrade::apply {
namespace {

// A null node (tagged or not) becomes an empty mapping; the node's mapping
// then, or null when it is not a bare mapping.
qv_yaml::Mapping* as_creatable_mapping(qv_yaml::Value& node) {
  if (node.untagged().is_null()) node = qv_yaml::Mapping();
  return node.is_mapping() ? &node.as_mapping() : nullptr;
}

// The value under `key`, appended as null when missing; `added` counts the
// bytes of an appended entry.
qv_yaml::Value& child_of(qv_yaml::Mapping& mapping, const std::string& key, std::size_t& added) {
  if (!mapping.contains(qv_yaml::Value(key))) {
    qv_yaml::Value entry_key(key);
    added += qv_yaml::extent_of(entry_key).bytes + 1;
    mapping.push_back(std::move(entry_key), qv_yaml::Value());
  }
  return *mapping.find(std::string_view(key));
}

// Whether the walk goes on from `node` through `segment` without creating
// anything: a bare mapping that holds the key, or a node it stops at.
bool leads_on(const qv_yaml::Value& node, const std::string& segment) {
  if (node.untagged().is_null()) return false;
  return !node.is_mapping() || node.as_mapping().contains(qv_yaml::Value(segment));
}

core::system::exit::CommandError too_deep_failure(const WorkingText& text) {
  return base::error::UpgradeError::ModifyRenderFailed(
      std::string(text.version()), std::string(text.entry()),
      fmt::format("recursion limit exceeded: nesting deeper than {} levels", qv_yaml::kMaxDepth));
}

}  // namespace

// Appends the child to the mapping at the leaf, creating the mappings on the
// way; they reach the text only together with the child. A leaf deeper than
// a document can be nested is refused when the walk would create its path:
// the result could not be written.
Changed replace_kind(const spec::InsertChildIfMissing& op, WorkingText& text) {
  const auto segments = split_leaf(op.leaf);
  const bool too_deep = segments.size() >= qv_yaml::kMaxDepth;
  return edit_document(text, [&](qv_yaml::Value& document) -> Changed {
    qv_yaml::Value* node = &document;
    std::size_t added = 0;
    for (const std::string& segment : segments) {
      if (too_deep && !leads_on(*node, segment)) return qv_common::fail(too_deep_failure(text));
      qv_yaml::Mapping* mapping = as_creatable_mapping(*node);
      if (mapping == nullptr) return false;
      node = &child_of(*mapping, segment, added);
    }
    qv_yaml::Mapping* leaf = as_creatable_mapping(*node);
    if (leaf == nullptr || leaf->contains(qv_yaml::Value(op.child))) return false;
    qv_yaml::Value child(op.child);
    added += qv_yaml::extent_of(child).bytes + qv_yaml::extent_of(op.value).bytes;
    QV_RETURN_IF_ERROR(text.grow(added));
    leaf->push_back(std::move(child), op.value);
    return true;
  });
}

}  // namespace runtime::instance::upgrade::apply
