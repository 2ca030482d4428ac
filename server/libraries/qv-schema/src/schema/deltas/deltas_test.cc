#include "schema/deltas/deltas.h"

#include <gtest/gtest.h>

#include "schema/render.h"

namespace schema::deltas {
namespace {

TEST(Deltas, EveryStepEndsWithItsOwnVersionUpdate) {
  for (source::Version target = kFirstTarget; target <= kLastTarget; ++target) {
    SCOPED_TRACE(target);
    const auto delta = get(target);
    ASSERT_TRUE(delta.has_value()) << delta.error();
    ASSERT_FALSE(delta->up.empty());
    EXPECT_EQ(delta->up.back(), render::update_db_version(target));
    EXPECT_EQ(std::count(delta->up.begin(), delta->up.end(), render::update_db_version(target)), 1);
  }
}

TEST(Deltas, StatementCounts) {
  // Step 5's count follows from the version-4 tables; its own test checks its texts.
  const struct {
    source::Version target;
    std::size_t up;
    std::size_t retired;
  } cases[] = {
      {2, 2, 0},  {3, 4, 0},   {4, 104, 74}, {6, 15, 9}, {7, 1, 0},   {8, 19, 0},
      {9, 24, 5}, {10, 20, 7}, {11, 5, 0},   {12, 4, 0}, {13, 17, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    const auto delta = get(c.target);
    ASSERT_TRUE(delta.has_value()) << delta.error();
    EXPECT_EQ(delta->up.size(), c.up);
    EXPECT_EQ(delta->retired.size(), c.retired);
  }
}

TEST(Deltas, OnlyStepsFourSixNineTenAndThirteenRetire) {
  for (source::Version target = kFirstTarget; target <= kLastTarget; ++target) {
    SCOPED_TRACE(target);
    const auto delta = get(target);
    ASSERT_TRUE(delta.has_value()) << delta.error();
    const bool retires = target == 4 || target == 6 || target == 9 || target == 10 || target == 13;
    EXPECT_EQ(!delta->retired.empty(), retires);
    for (const std::string& text : delta->retired) EXPECT_NE(text.find(" IF EXISTS "), std::string::npos) << text;
  }
}

TEST(Deltas, NoStepOutsideTwoToThirteen) {
  for (const source::Version target : {0u, 1u, 14u, 4294967295u}) {
    SCOPED_TRACE(target);
    const auto delta = get(target);
    ASSERT_FALSE(delta.has_value());
    EXPECT_EQ(delta.error(), "No delta migration for version " + std::to_string(target));
  }
}

}  // namespace
}  // namespace schema::deltas
