#include "qv_yaml/extent.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

// Sets the leaf to `to` where it equals `from`; an absent key never matches.
Changed replace_kind(const spec::ModifyLeafValueIf& op, WorkingText& text) {
  const auto segments = split_leaf(op.leaf);
  return edit_document(text, [&](qv_yaml::Value& document) -> Changed {
    qv_yaml::Value* leaf = walk(document, segments);
    if (leaf == nullptr || !(*leaf == op.from)) return false;
    text.shrink(qv_yaml::extent_of(*leaf).bytes);
    QV_RETURN_IF_ERROR(text.grow(qv_yaml::extent_of(op.to).bytes));
    *leaf = op.to;
    return true;
  });
}

}  // namespace runtime::instance::upgrade::apply
