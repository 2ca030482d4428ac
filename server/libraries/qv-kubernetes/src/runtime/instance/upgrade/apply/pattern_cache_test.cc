#include "runtime/instance/upgrade/apply/pattern_cache.h"

#include <gtest/gtest.h>

#include "runtime/instance/upgrade/apply/searcher.h"

namespace runtime::instance::upgrade::apply {
namespace {

TEST(PatternCache, CompilesEachTextOnceAndKeepsItsOutcome) {
  PatternCache cache;
  const auto& first = cache.compile("(?<q>[a-z]+)-1");
  ASSERT_TRUE(first) << first.error();
  EXPECT_EQ(&cache.compile("(?<q>[a-z]+)-1"), &first);
  EXPECT_NE(&cache.compile("[a-z]+"), &first);
  WorkBudget work;
  auto match = Searcher(*first, work).find("jobs-1");
  ASSERT_TRUE(match && *match);
  EXPECT_EQ((*match)->named("q"), "jobs");

  for (int time = 0; time < 2; ++time) {
    const auto& broken = cache.compile("(a");
    ASSERT_FALSE(broken);
    EXPECT_EQ(broken.error(), "missing closing parenthesis at offset 2");
  }
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
