#include "runtime/instance/upgrade/apply/searcher.h"

#include <algorithm>
#include <new>

#include <fmt/format.h>

namespace runtime::instance::upgrade::apply {
namespace {

// Bounds on one attempt at one position: far above what a sound pattern
// needs on a file, low enough that runaway backtracking stops within a
// fraction of a second. The depth bound lets a repeated group span a whole
// large file; the heap bound (in KiB) keeps the backtracking frames of a
// pattern with many groups to a few times the largest text.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kDepthLimit = 1'000'000;
constexpr std::uint32_t kHeapLimitKib = 128 * 1024;

PCRE2_SPTR code_units(std::string_view text) { return reinterpret_cast<PCRE2_SPTR>(text.data()); }

// The position just past the UTF-8 character that starts at `at`.
std::size_t next_character(std::string_view text, std::size_t at) {
  ++at;
  while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  return at;
}

std::string budget_exceeded() {
  return fmt::format("match limit exceeded: the searches of one operation took more than {} steps",
                     Searcher::kSteps);
}

}  // namespace

Searcher::Searcher(const Regex& regex, WorkBudget& work)
    : regex_(regex),
      work_(work),
      context_(pcre2_match_context_create(nullptr)),
      data_(pcre2_match_data_create_from_pattern(regex.code_.get(), nullptr)) {
  if (!context_ || !data_) throw std::bad_alloc();
  pcre2_set_match_limit(context_.get(), kMatchLimit);
  pcre2_set_depth_limit(context_.get(), kDepthLimit);
  pcre2_set_heap_limit(context_.get(), kHeapLimitKib);
  pcre2_set_callout(context_.get(), &Searcher::on_step, this);
}

qv_common::Result<std::optional<Match>, std::string> Searcher::find(std::string_view subject, std::size_t from) {
  Match match;
  QV_ASSIGN_OR_RETURN(const bool found, search(subject, from, 0, match));
  if (!found) return std::optional<Match>();
  return std::optional<Match>(std::move(match));
}

qv_common::Result<bool, std::string> Searcher::search(std::string_view subject, std::size_t from,
                                                      std::uint32_t options, Match& match) {
  if (exceeded_ != Exceeded::kNone || !take_work(WorkBudget::kByteCost)) return qv_common::fail(exceeded());
  const int rc = pcre2_match(regex_.code_.get(), code_units(subject), subject.size(), from, options, data_.get(),
                             context_.get());
  if (exceeded_ != Exceeded::kNone) return qv_common::fail(exceeded());
  if (rc < 0 && rc != PCRE2_ERROR_NOMATCH) return qv_common::fail(Regex::message(rc));
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data_.get());
  // The matcher's start-up optimisations look through the subject for where
  // a match could start without a step: the stretch up to where the search
  // ended costs a unit a character.
  const std::size_t ended = rc < 0 ? subject.size() : std::max<std::size_t>(ovector[1], from);
  if (!take_work(ended - from)) return qv_common::fail(exceeded());
  if (rc < 0) return false;
  match.subject_ = subject;
  if (match.names_ != regex_.names_) match.names_ = regex_.names_;
  match.groups_.resize(pcre2_get_ovector_count(data_.get()));
  for (std::size_t i = 0; i < match.groups_.size(); ++i) {
    match.groups_[i].reset();
    if (ovector[2 * i] != PCRE2_UNSET) match.groups_[i] = Match::Span{ovector[2 * i], ovector[2 * i + 1]};
  }
  return true;
}

// It runs inside the library, so it must not throw; a negative result ends
// the search with that code.
int Searcher::on_step(pcre2_callout_block* block, void* data) {
  return static_cast<Searcher*>(data)->charge(*block) ? 0 : PCRE2_ERROR_MATCHLIMIT;
}

bool Searcher::charge(const pcre2_callout_block& block) {
  if ((block.callout_flags & PCRE2_CALLOUT_STARTMATCH) != 0) position_ = block.start_match;
  const std::size_t position = block.current_position;
  const std::uint64_t moved = position >= position_ ? position - position_ : position_ - position;
  position_ = position;
  const std::uint64_t cost = regex_.step_weight_ + moved;
  if (cost > left_) {
    exceeded_ = Exceeded::kSearches;
    return false;
  }
  if (!take_work(cost)) return false;
  left_ -= cost;
  return true;
}

bool Searcher::take_work(std::uint64_t units) {
  if (work_.take(units)) return true;
  exceeded_ = Exceeded::kWork;
  return false;
}

std::string Searcher::exceeded() const {
  return exceeded_ == Exceeded::kWork ? work_.exceeded() : budget_exceeded();
}

qv_common::Result<const Match*, std::string> MatchCursor::next() {
  while (from_ <= subject_.size()) {
    QV_ASSIGN_OR_RETURN(const bool found, searcher_.search(subject_, from_, options_, match_));
    options_ = PCRE2_NO_UTF_CHECK;
    if (!found) break;
    const bool empty = match_.start() == match_.end();
    if (empty && match_.end() == last_end_) {
      if (match_.end() >= subject_.size()) break;
      from_ = next_character(subject_, match_.end());
      continue;
    }
    last_end_ = match_.end();
    from_ = empty ? next_character(subject_, match_.end()) : match_.end();
    return &match_;
  }
  from_ = subject_.size() + 1;
  return static_cast<const Match*>(nullptr);
}

}  // namespace runtime::instance::upgrade::apply
