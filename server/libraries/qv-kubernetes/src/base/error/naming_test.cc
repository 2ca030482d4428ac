#include "base/error/naming.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

namespace base::error::naming {
namespace {

TEST(NameSegmentTest, MessageAndDebugForms) {
  EXPECT_EQ(message(NameSegment::Component), "component");
  EXPECT_EQ(message(NameSegment::Name), "name");
  EXPECT_EQ(message(NameSegment::WorkerId), "workerid");
  EXPECT_EQ(debug_name(NameSegment::WorkerId), "WorkerId");
  EXPECT_EQ(entry(NameSegment::Name).debug(), "Name");
}

TEST(NameSegmentTest, FormatterHonoursWidthFillAndAlignment) {
  EXPECT_EQ(fmt::format("{}", NameSegment::WorkerId), "workerid");
  EXPECT_EQ(fmt::format("{:>11}", NameSegment::Component), "  component");
  EXPECT_EQ(fmt::format("{:*<6}", NameSegment::Name), "name**");
  EXPECT_EQ(fmt::format("{:-^10}", NameSegment::Name), "---name---");
  EXPECT_EQ(fmt::format("{:3}", NameSegment::Component), "component");
}

}  // namespace
}  // namespace base::error::naming
