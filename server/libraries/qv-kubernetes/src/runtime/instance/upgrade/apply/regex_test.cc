#include "runtime/instance/upgrade/apply/regex.h"
#include "runtime/instance/upgrade/apply/searcher.h"

#include <gtest/gtest.h>

namespace runtime::instance::upgrade::apply {
namespace {

Regex compiled(std::string_view pattern) {
  auto regex = Regex::compile(pattern);
  EXPECT_TRUE(regex) << regex.error();
  return std::move(regex).value();
}

// One search by a searcher of its own.
qv_common::Result<std::optional<Match>, std::string> find(const Regex& regex, std::string_view subject,
                                                          std::size_t from = 0) {
  WorkBudget work;
  return Searcher(regex, work).find(subject, from);
}

std::vector<std::pair<std::size_t, std::size_t>> spans(std::string_view pattern, std::string_view subject) {
  const Regex regex = compiled(pattern);
  WorkBudget work;
  Searcher searcher(regex, work);
  MatchCursor matches(searcher, subject);
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (;;) {
    auto match = matches.next();
    EXPECT_TRUE(match) << match.error();
    if (!match || *match == nullptr) return out;
    out.emplace_back((*match)->start(), (*match)->end());
  }
}

TEST(Regex, CompileFailureNamesTheProblem) {
  const struct {
    std::string pattern;
    std::string error;
  } cases[] = {
      {"(a", "missing closing parenthesis at offset 2"},
      {"a\\C", "using \\C is disabled by the application at offset 3"},
  };
  for (const auto& c : cases) {
    auto regex = Regex::compile(c.pattern);
    ASSERT_FALSE(regex) << c.pattern;
    EXPECT_EQ(regex.error(), c.error);
  }
}

TEST(Regex, DollarIsTheEndOfTheTextUnlessThePatternSetsMultiLineMode) {
  using Spans = std::vector<std::pair<std::size_t, std::size_t>>;
  EXPECT_EQ(spans("2$", "a2\n"), Spans{});
  EXPECT_EQ(spans("2$", "a2"), (Spans{{1, 2}}));
  EXPECT_EQ(spans("(?m)2$", "2\n2\n"), (Spans{{0, 1}, {2, 3}}));
  EXPECT_EQ(spans("2\\Z", "a2\n"), (Spans{{1, 2}}));
}

TEST(Regex, FindsTheLeftmostMatchFromAnOffset) {
  const Regex regex = compiled("b+");
  auto first = find(regex, "abbab");
  ASSERT_TRUE(first && *first);
  EXPECT_EQ((*first)->start(), 1u);
  EXPECT_EQ((*first)->text(), "bb");
  auto later = find(regex, "abbab", 3);
  ASSERT_TRUE(later && *later);
  EXPECT_EQ((*later)->start(), 4u);
  auto none = find(regex, "aaa");
  ASSERT_TRUE(none);
  EXPECT_FALSE(*none);
}

TEST(Regex, IteratesNonOverlappingMatchesAndAdvancesPastEmptyOnes) {
  using Spans = std::vector<std::pair<std::size_t, std::size_t>>;
  EXPECT_EQ(spans("a", "banana"), (Spans{{1, 2}, {3, 4}, {5, 6}}));
  EXPECT_EQ(spans("aa", "aaaaa"), (Spans{{0, 2}, {2, 4}}));
  EXPECT_EQ(spans("x*", "abc"), (Spans{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  // No empty match right where a non-empty one ended.
  EXPECT_EQ(spans("a*", "baaab"), (Spans{{0, 0}, {1, 4}, {5, 5}}));
  EXPECT_EQ(spans("", ""), (Spans{{0, 0}}));
  // An empty match advances by a whole UTF-8 character.
  EXPECT_EQ(spans("x*", "\xC3\xBC" "x\xE2\x82\xAC"), (Spans{{0, 0}, {2, 3}, {6, 6}}));
  EXPECT_EQ(spans("(?m)^", "a\nb\n"), (Spans{{0, 0}, {2, 2}}));
}

TEST(Regex, MatchesUnicodeCharacterClasses) {
  auto match = find(compiled(R"(\w+)"), "\xC3\xBC" "ber!");
  ASSERT_TRUE(match && *match);
  EXPECT_EQ((*match)->text(), "\xC3\xBC" "ber");
}

TEST(Regex, NamedGroupsReportOnlyGroupsThatTookPart) {
  const Regex regex = compiled("(?<a>x)|(?<b>y)");
  auto match = find(regex, "y");
  ASSERT_TRUE(match && *match);
  EXPECT_EQ((*match)->named("b"), "y");
  EXPECT_EQ((*match)->named("a"), std::nullopt);
  EXPECT_EQ((*match)->named("c"), std::nullopt);
  EXPECT_EQ((*match)->group(2), "y");
  EXPECT_EQ((*match)->group(1), std::nullopt);
  EXPECT_EQ((*match)->group(9), std::nullopt);
}

TEST(Regex, DuplicateNamesTakeTheGroupThatTookPart) {
  auto match = find(compiled("(?J)(?<n>x)|(?<n>y)"), "y");
  ASSERT_TRUE(match && *match);
  EXPECT_EQ((*match)->named("n"), "y");
}

TEST(Regex, ExpandsDollarsAndNamedGroups) {
  auto match = find(compiled("(?<k>[a-z]+)=(?<v>\\d+)?"), "key=");
  ASSERT_TRUE(match && *match);
  const struct {
    std::string replacement;
    std::string expanded;
  } cases[] = {
      {"${k}:${v}", "key:"},       {"$$", "$"},          {"$$$$", "$$"},     {"$${k}", "${k}"},
      {"${unknown}!", "!"},        {"$k", "$k"},         {"${}", "${}"},     {"${k", "${k"},
      {"a$", "a$"},                {"plain", "plain"},   {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Regex::expand(**match, c.replacement), c.expanded) << c.replacement;
}

TEST(Regex, RunawayBacktrackingEndsWithTheLibraryError) {
  const Regex regex = compiled("(a+)+$");
  auto match = find(regex, std::string(64, 'a') + "b");
  ASSERT_FALSE(match);
  EXPECT_EQ(match.error(), "match limit exceeded");
}

TEST(Regex, RepeatedGroupSpansALargeText) {
  auto match = find(compiled("^(?:.|\\n)*end"), std::string(100'000, 'a') + "\nend");
  ASSERT_TRUE(match) << match.error();
  EXPECT_TRUE(*match);
}

TEST(Regex, DeepBacktrackingEndsWithTheLibraryError) {
  auto match = find(compiled("^(a|b)*c"), std::string(2'000'000, 'a'));
  ASSERT_FALSE(match);
  EXPECT_TRUE(match.error() == "matching depth limit exceeded" || match.error() == "heap limit exceeded")
      << match.error();
}

TEST(Regex, InvalidUtf8SubjectIsAnError) {
  auto match = find(compiled("a"), "\xFF");
  EXPECT_FALSE(match);
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
