#include "runtime/instance/upgrade/apply/derive_item_if_missing.h"

#include <algorithm>

#include "runtime/instance/upgrade/apply/compile_pattern.h"
#include "runtime/instance/upgrade/apply/render_template.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/scalar_text.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {
namespace {

// Inserts each derived item right after its source unless an equal item is
// there already. Working from the last to the first keeps the sources'
// positions valid.
bool insert_missing(qv_yaml::Sequence& sequence, const std::vector<Derived>& derived) {
  bool inserted = false;
  for (auto next = derived.rbegin(); next != derived.rend(); ++next) {
    if (std::find(sequence.begin(), sequence.end(), next->item) != sequence.end()) continue;
    sequence.insert(sequence.begin() + static_cast<std::ptrdiff_t>(next->source) + 1, next->item);
    inserted = true;
  }
  return inserted;
}

}  // namespace

qv_common::Result<std::vector<Derived>, std::string> derive(const qv_yaml::Sequence& sequence, const Regex& pattern,
                                                            const spec::DeriveItemIfMissing& op) {
  std::vector<Derived> derived;
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    const auto text = scalar_text(sequence[i]);
    if (!text) continue;
    QV_ASSIGN_OR_RETURN(const std::optional<Match> match, pattern.find(*text));
    if (match) derived.push_back({i, qv_yaml::Value(render_template(op.item, *match))});
  }
  return derived;
}

// Adds, after each item of the sequence that the pattern matches, the item
// rendered from the match, unless an equal item exists.
Changed replace_kind(const spec::DeriveItemIfMissing& op, WorkingText& text) {
  const std::string_view version = text.version();
  const std::string_view entry = text.entry();
  QV_ASSIGN_OR_RETURN(const Regex pattern, compile_pattern(version, entry, op.pattern));
  const auto segments = split_leaf(op.leaf);
  return edit_document(text,
                       [&](qv_yaml::Value& document) -> qv_common::Result<bool, core::system::exit::CommandError> {
                         qv_yaml::Value* leaf = walk(document, segments);
                         if (leaf == nullptr || !leaf->is_sequence()) return false;
                         auto derived = derive(leaf->as_sequence(), pattern, op);
                         if (!derived) {
                           return qv_common::fail(pattern_failed(version, entry, op.pattern, derived.error()));
                         }
                         return insert_missing(leaf->as_sequence(), *derived);
                       });
}

}  // namespace runtime::instance::upgrade::apply
