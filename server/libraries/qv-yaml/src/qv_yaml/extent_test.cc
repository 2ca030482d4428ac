#include "qv_yaml/extent.h"

#include <gtest/gtest.h>

#include "qv_yaml/parse.h"

namespace qv_yaml {
namespace {

TEST(Extent, CountsNodesAndTheBytesOfTheirText) {
  const struct {
    std::string_view text;
    std::size_t nodes;
    std::size_t bytes;
  } cases[] = {
      {"~", 1, 1},
      {"''", 1, 1},
      {"abc", 1, 4},
      {"12345", 1, 2},
      {"[a, 1]", 3, 5},
      {"{key: value}", 3, 11},
      {"!tag x", 2, 7},
      {"a: &x [b]\nc: *x\n", 7, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Extent extent = extent_of(parse_single(c.text).value());
    EXPECT_EQ(extent.nodes, c.nodes);
    EXPECT_EQ(extent.bytes, c.bytes);
  }
}

}  // namespace
}  // namespace qv_yaml
