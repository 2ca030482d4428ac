#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 8
#endif
#include <pcre2.h>

#include "result.h"

namespace runtime::instance::upgrade::apply {

// The number of every capture group of a pattern that carries a name.
struct GroupName {
  std::string name;
  std::uint32_t number = 0;
};
using GroupNames = std::vector<GroupName>;

// One match of a `Regex` in a subject. It refers to the subject, which must
// outlive it.
class Match {
 public:
  using Span = std::pair<std::size_t, std::size_t>;

  std::size_t start() const { return groups_[0]->first; }
  std::size_t end() const { return groups_[0]->second; }
  std::string_view text() const { return *group(0); }
  // The text of a group, none when the group took no part in the match.
  std::optional<std::string_view> group(std::size_t number) const;
  // The text of the named group, none when the pattern has no group of that
  // name or the group took no part in the match.
  std::optional<std::string_view> named(std::string_view name) const;
  // Where the named group matched in the subject, none as for `named`.
  std::optional<Span> named_span(std::string_view name) const;

 private:
  friend class Regex;
  Match(std::string_view subject, std::vector<std::optional<Span>> groups,
        std::shared_ptr<const GroupNames> names)
      : subject_(subject), groups_(std::move(groups)), names_(std::move(names)) {}

  std::string_view subject_;
  std::vector<std::optional<Span>> groups_;
  std::shared_ptr<const GroupNames> names_;
};

// A compiled PCRE2 pattern (UTF-8 with Unicode properties). "$" matches at the
// very end only unless the pattern sets multi-line mode, and \C is refused.
// Matching is bounded by match and depth limits, so a pattern that backtracks
// without end fails with the library's message instead of running on. The
// searches of one pattern share their working memory, so one pattern serves
// one thread at a time.
class Regex {
 public:
  // The library's message and the offset of the fault when `pattern` does not compile.
  static qv_common::Result<Regex, std::string> compile(std::string_view pattern);

  // The leftmost match that starts at or after `from`, or none.
  qv_common::Result<std::optional<Match>, std::string> find(std::string_view subject,
                                                            std::size_t from = 0) const;
  // Every non-overlapping match, leftmost first. An empty match right where
  // the previous match ended is skipped; after an empty match the search goes
  // on one character further.
  qv_common::Result<std::vector<Match>, std::string> find_all(std::string_view subject) const;

  // `replacement` with "$$" as one "$" and "${name}" as the named group's
  // text (empty when the group is unknown or took no part); any other "$" is
  // copied.
  static std::string expand(const Match& match, std::string_view replacement);

 private:
  struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
  };
  struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
  };
  struct MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
  };

  Regex(std::unique_ptr<pcre2_code, CodeDeleter> code, std::shared_ptr<const GroupNames> names);

  qv_common::Result<std::optional<Match>, std::string> search(std::string_view subject, std::size_t from,
                                                             std::uint32_t options) const;

  std::unique_ptr<pcre2_code, CodeDeleter> code_;
  std::shared_ptr<const GroupNames> names_;
  // The limits of every search.
  std::unique_ptr<pcre2_match_context, MatchContextDeleter> context_;
  // Where a search leaves its groups; it keeps the library's backtracking
  // memory from one search to the next.
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data_;
};

}  // namespace runtime::instance::upgrade::apply
