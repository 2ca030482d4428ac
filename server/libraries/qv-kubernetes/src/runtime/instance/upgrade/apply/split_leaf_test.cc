#include "runtime/instance/upgrade/apply/split_leaf.h"

#include <gtest/gtest.h>

namespace runtime::instance::upgrade::apply {
namespace {

TEST(SplitLeaf, SplitsOnFullStopsOutsideQuotes) {
  const struct {
    std::string leaf;
    std::vector<std::string> segments;
  } cases[] = {
      {"a.b", {"a", "b"}},
      {R"(a."b.c".d)", {"a", "b.c", "d"}},
      {"a..b", {"a", "", "b"}},
      {"", {""}},
      {".", {"", ""}},
      {"a.", {"a", ""}},
      {R"("a.b)", {"a.b"}},
      {R"(a"b"c)", {"abc"}},
      {R"("")", {""}},
      {"spec.template.spec", {"spec", "template", "spec"}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_leaf(c.leaf), c.segments) << c.leaf;
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
