#include "task.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qv_common {
namespace {

TEST(Task, RunsOnlyWhenAwaited) {
  int runs = 0;
  Task<int> task([&] { return ++runs; });
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(std::move(task).get(), 1);
  EXPECT_EQ(runs, 1);
}

TEST(Task, DroppedUnawaitedRunsNothingAndReleasesWhatItHolds) {
  int runs = 0;
  auto held = std::make_shared<int>(0);
  {
    Task<int> task([&runs, held] { return ++runs; });
  }
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(held.use_count(), 1);
}

TEST(Task, ReadyGivesItsValue) {
  EXPECT_EQ(Task<std::string>::ready("done").get(), "done");
  EXPECT_EQ(*Task<std::unique_ptr<int>>::ready(std::make_unique<int>(7)).get(), 7);
}

}  // namespace
}  // namespace qv_common
