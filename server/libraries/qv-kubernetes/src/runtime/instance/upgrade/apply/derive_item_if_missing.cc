#include "runtime/instance/upgrade/apply/derive_item_if_missing.h"

#include <algorithm>
#include <unordered_map>

#include "qv_yaml/extent.h"
#include "qv_yaml/key_index.h"

#include "runtime/instance/upgrade/apply/compile_pattern.h"
#include "runtime/instance/upgrade/apply/render_template.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/result_limit.h"
#include "runtime/instance/upgrade/apply/scalar_text.h"
#include "runtime/instance/upgrade/apply/split_leaf.h"
#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

using core::system::exit::CommandError;

namespace {

// The items of a sequence, found by hash, so that checking every derived
// item against a long sequence stays linear.
class ItemSet {
 public:
  explicit ItemSet(const qv_yaml::Sequence& items) {
    for (const qv_yaml::Value& item : items) add(item);
  }
  bool contains(const qv_yaml::Value& item) const {
    const auto [first, last] = items_.equal_range(qv_yaml::hash_of(item));
    return std::any_of(first, last, [&](const auto& entry) { return *entry.second == item; });
  }
  void add(const qv_yaml::Value& item) { items_.emplace(qv_yaml::hash_of(item), &item); }

 private:
  std::unordered_multimap<std::size_t, const qv_yaml::Value*> items_;
};

// Inserts each derived item right after its source unless an equal item is
// there already. The items are decided from the last to the first, each
// against the sequence as the later insertions left it; the sequence is then
// rebuilt once. Returns the bytes of the inserted items.
std::size_t insert_missing(qv_yaml::Sequence& sequence, std::vector<Derived> derived) {
  ItemSet present(sequence);
  std::vector<Derived*> inserted;
  std::size_t bytes = 0;
  for (auto next = derived.rbegin(); next != derived.rend(); ++next) {
    if (present.contains(next->item)) continue;
    present.add(next->item);
    inserted.push_back(&*next);
    bytes += qv_yaml::extent_of(next->item).bytes;
  }
  if (inserted.empty()) return 0;
  qv_yaml::Sequence rebuilt;
  rebuilt.reserve(sequence.size() + inserted.size());
  auto next = inserted.rbegin();
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    rebuilt.push_back(std::move(sequence[i]));
    for (; next != inserted.rend() && (*next)->source == i; ++next) rebuilt.push_back(std::move((*next)->item));
  }
  sequence = std::move(rebuilt);
  return bytes;
}

}  // namespace

qv_common::Result<std::vector<Derived>, CommandError> derive(const qv_yaml::Sequence& sequence, Searcher& searcher,
                                                             const spec::DeriveItemIfMissing& op,
                                                             const WorkingText& text) {
  std::vector<Derived> derived;
  // Items equal to one already there are dropped later, so the derived items
  // are bounded on their own; what is inserted then counts against the text.
  std::size_t room = kMaxResultBytes;
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    const auto scalar = scalar_text(sequence[i]);
    if (!scalar) continue;
    auto match = searcher.find(*scalar);
    if (!match) return qv_common::fail(pattern_failed(text.version(), text.entry(), op.pattern, match.error()));
    if (!*match) continue;
    // Each derived string takes its text and one node.
    auto rendered = room == 0 ? std::nullopt : render_template(op.item, **match, room - 1);
    if (!rendered) return qv_common::fail(result_too_large(text.version(), text.entry()));
    room -= rendered->size() + 1;
    derived.push_back({i, qv_yaml::Value(std::move(*rendered))});
  }
  return derived;
}

// Adds, after each item of the sequence that the pattern matches, the item
// rendered from the match, unless an equal item exists.
Changed replace_kind(const spec::DeriveItemIfMissing& op, WorkingText& text) {
  QV_ASSIGN_OR_RETURN(const Regex* pattern, compile_pattern(text, op.pattern));
  const auto segments = split_leaf(op.leaf);
  return edit_document(text, [&](qv_yaml::Value& document) -> Changed {
    qv_yaml::Value* leaf = walk(document, segments);
    if (leaf == nullptr || !leaf->is_sequence()) return false;
    Searcher searcher(*pattern, text.work());
    QV_ASSIGN_OR_RETURN(std::vector<Derived> derived, derive(leaf->as_sequence(), searcher, op, text));
    const std::size_t inserted = insert_missing(leaf->as_sequence(), std::move(derived));
    QV_RETURN_IF_ERROR(text.grow(inserted));
    return inserted > 0;
  });
}

}  // namespace runtime::instance::upgrade::apply
