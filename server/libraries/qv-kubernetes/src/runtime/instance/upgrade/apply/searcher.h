#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "result.h"
#include "runtime/instance/upgrade/apply/regex.h"
#include "runtime/instance/upgrade/apply/work_budget.h"

namespace runtime::instance::upgrade::apply {

// The searches that one operation makes with one pattern. Each is bounded by
// the library's match, depth and heap limits, which hold for one attempt at
// one position; together they share one budget of work, counted in steps of
// the matcher: one for each item of the pattern it tries (more for a pattern
// whose backtracking frames are large) and one for each character it moves
// over between two items. So a pattern that backtracks without end fails
// with a message instead of running on, also in an operation that searches
// once per match or once per item of a sequence. The steps count against
// the command's work budget too, and so does each search begun and the
// stretch of the subject it looked through. The searches share the
// library's working memory, which goes with the searcher.
class Searcher {
 public:
  static constexpr std::uint64_t kSteps = 100'000'000;

  Searcher(const Regex& regex, WorkBudget& work);
  Searcher(const Searcher&) = delete;
  Searcher& operator=(const Searcher&) = delete;

  // The leftmost match that starts at or after `from`, or none.
  qv_common::Result<std::optional<Match>, std::string> find(std::string_view subject, std::size_t from = 0);

 private:
  friend class MatchCursor;

  struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
  };
  struct MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
  };

  // Fills `match` and says whether there was one.
  qv_common::Result<bool, std::string> search(std::string_view subject, std::size_t from, std::uint32_t options,
                                              Match& match);
  // Which budget a search ran out of.
  enum class Exceeded : std::uint8_t { kNone, kSearches, kWork };

  // The callout before each item of the pattern; it charges the step.
  static int on_step(pcre2_callout_block* block, void* data);
  bool charge(const pcre2_callout_block& block);
  // Takes `units` of the command's work; false, marking the searches as
  // stopped by it, when there are not so many left.
  bool take_work(std::uint64_t units);
  // The cause of a search that ran out of a budget.
  std::string exceeded() const;

  const Regex& regex_;
  WorkBudget& work_;
  // The limits of each search, and the callout that counts its steps.
  std::unique_ptr<pcre2_match_context, MatchContextDeleter> context_;
  // Where a search leaves its groups; it keeps the library's backtracking
  // memory from one search to the next.
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data_;
  std::uint64_t left_ = kSteps;
  // Where the matcher stood at the last step.
  std::size_t position_ = 0;
  Exceeded exceeded_ = Exceeded::kNone;
};

// The non-overlapping matches of a pattern in a subject, leftmost first,
// found one at a time, so that no more than one is held and a match needs
// no memory of its own. An empty match
// right where the previous match ended is skipped; after an empty match the
// search goes on one character further.
class MatchCursor {
 public:
  MatchCursor(Searcher& searcher, std::string_view subject) : searcher_(searcher), subject_(subject) {}

  // The next match, or null after the last. The match stays valid until
  // the next call.
  qv_common::Result<const Match*, std::string> next();

 private:
  Searcher& searcher_;
  std::string_view subject_;
  // Each match is found into the same record, which keeps its room.
  Match match_;
  std::size_t from_ = 0;
  std::optional<std::size_t> last_end_;
  // The subject's UTF-8 is checked by the first search only: checking it
  // again at every match would make the whole search quadratic.
  std::uint32_t options_ = 0;
};

}  // namespace runtime::instance::upgrade::apply
