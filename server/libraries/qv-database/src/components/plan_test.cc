#include "components/plan.h"

#include <gtest/gtest.h>

namespace components::plan {
namespace {

TEST(PlanUpgrade, FromTheStoredVersion) {
  EXPECT_EQ(plan_upgrade(std::nullopt, 13), UpgradeAction(Install{13}));
  EXPECT_EQ(plan_upgrade(13, 13), UpgradeAction(UpToDate{}));
  EXPECT_EQ(plan_upgrade(14, 13), UpgradeAction(Ahead{14}));
  EXPECT_EQ(plan_upgrade(11, 13), UpgradeAction(Migrate{{12, 13}}));
  EXPECT_EQ(plan_upgrade(4, 13), UpgradeAction(Migrate{{5, 6, 7, 8, 9, 10, 11, 12, 13}}));
}

}  // namespace
}  // namespace components::plan
