#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

// Sets the leaf to `to` where it equals `from`; an absent key never matches.
Changed replace_kind(const spec::ModifyLeafValueIf& op, WorkingText& text) {
  const auto segments = split_leaf(op.leaf);
  return edit_document(text, [&](qv_yaml::Value& document) {
    qv_yaml::Value* leaf = walk(document, segments);
    if (leaf == nullptr || !(*leaf == op.from)) return false;
    *leaf = op.to;
    return true;
  });
}

}  // namespace runtime::instance::upgrade::apply
