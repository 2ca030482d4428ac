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
  friend class Searcher;
  friend class MatchCursor;
  // Filled by a search.
  Match() = default;

  std::string_view subject_;
  std::vector<std::optional<Span>> groups_;
  std::shared_ptr<const GroupNames> names_;
};

// A compiled PCRE2 pattern (UTF-8 with Unicode properties). "$" matches at the
// very end only unless the pattern sets multi-line mode, and \C is refused.
// It is searched through a `Searcher`.
class Regex {
 public:
  // The library's message and the offset of the fault when `pattern` does not compile.
  static qv_common::Result<Regex, std::string> compile(std::string_view pattern);

  // `replacement` with "$$" as one "$" and "${name}" as the named group's
  // text (empty when the group is unknown or took no part); any other "$" is
  // copied.
  static std::string expand(const Match& match, std::string_view replacement);

 private:
  friend class Searcher;

  struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
  };

  Regex(std::unique_ptr<pcre2_code, CodeDeleter> code, std::shared_ptr<const GroupNames> names);

  // The library's message for an error code.
  static std::string message(int code);

  std::unique_ptr<pcre2_code, CodeDeleter> code_;
  std::shared_ptr<const GroupNames> names_;
  // What one step of a search costs its budget: more where each
  // backtracking frame copies many groups.
  std::uint64_t step_weight_ = 1;
};

}  // namespace runtime::instance::upgrade::apply
