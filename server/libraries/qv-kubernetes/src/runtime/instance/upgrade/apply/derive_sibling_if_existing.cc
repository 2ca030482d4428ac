#include "qv_yaml/extent.h"
#include "runtime/instance/upgrade/apply/compile_pattern.h"
#include "runtime/instance/upgrade/apply/place_sibling.h"
#include "runtime/instance/upgrade/apply/render_template.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/result_limit.h"
#include "runtime/instance/upgrade/apply/scalar_text.h"
#include "runtime/instance/upgrade/apply/searcher.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

using core::system::exit::CommandError;

// Adds the sibling, rendered from the pattern's match in the anchor's scalar
// text, beside the anchor of the addressed mapping.
Changed replace_kind(const spec::DeriveSiblingIfExisting& op, WorkingText& text) {
  const std::string_view version = text.version();
  const std::string_view entry = text.entry();
  QV_ASSIGN_OR_RETURN(const Regex* pattern, compile_pattern(text, op.pattern));
  const auto segments = split_leaf(op.leaf);
  const qv_yaml::Value anchor(segments.back());
  const qv_yaml::Value sibling(op.sibling);
  return edit_document(text,
                       [&](qv_yaml::Value& document) -> qv_common::Result<bool, CommandError> {
                         qv_yaml::Value* parent = walk(document, std::span(segments).first(segments.size() - 1));
                         if (parent == nullptr || !parent->is_mapping()) return false;
                         qv_yaml::Mapping& mapping = parent->as_mapping();
                         const qv_yaml::Value* anchored = mapping.find(anchor);
                         if (mapping.contains(sibling) || anchored == nullptr) return false;
                         const auto value_text = scalar_text(*anchored);
                         if (!value_text) return false;
                         Searcher searcher(*pattern, text.work());
                         auto match = searcher.find(*value_text);
                         if (!match) return qv_common::fail(pattern_failed(version, entry, op.pattern, match.error()));
                         if (!*match) return false;
                         auto value = render_value(op.value, **match, text.room());
                         if (!value) return qv_common::fail(result_too_large(version, entry));
                         QV_RETURN_IF_ERROR(
                             text.grow(qv_yaml::extent_of(sibling).bytes + qv_yaml::extent_of(*value).bytes));
                         place_sibling(mapping, anchor, sibling, std::move(*value), op.placement);
                         return true;
                       });
}

}  // namespace runtime::instance::upgrade::apply
