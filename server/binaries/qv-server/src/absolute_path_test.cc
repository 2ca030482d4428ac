#include "absolute_path.h"

#include <gtest/gtest.h>

#include <string>

namespace qv_server::absolute_path {
namespace {

TEST(AbsoluteLexical, NormalisesLexically) {
  const std::string current = std::filesystem::current_path().native();
  struct Case {
    std::string input;
    std::string expected;
  };
  const Case cases[] = {
      {".", current},
      {"./", current + "/"},
      {"a", current + "/a"},
      {"./a/./b", current + "/a/b"},
      {"a/../b", current + "/a/../b"},
      {"a//b///c", current + "/a/b/c"},
      {"a/", current + "/a/"},
      {"/", "/"},
      {"/repo", "/repo"},
      {"/repo/", "/repo/"},
      {"/./repo/.", "/repo"},
      {"/repo/..", "/repo/.."},
      {"//", "//"},
      {"//x", "//x"},
      {"//x//y/", "//x/y/"},
      {"///x", "/x"},
      {"////x", "/x"},
      {"/\xFF/b", "/\xFF/b"},
  };
  for (const Case& c : cases) {
    const auto absolute = absolute_lexical(c.input);
    ASSERT_TRUE(absolute) << c.input;
    EXPECT_EQ(absolute->native(), c.expected) << c.input;
  }
}

TEST(AbsoluteLexical, FailsForAnEmptyPath) { EXPECT_FALSE(absolute_lexical("")); }

}  // namespace
}  // namespace qv_server::absolute_path
