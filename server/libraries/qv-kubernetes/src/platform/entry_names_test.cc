#include "platform/entry_names.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support/temp_folder.h"

namespace platform {
namespace {

TEST(EntryNames, ListsEntriesOfEveryKindAndNothingForAMissingFolder) {
  const test_support::TempFolder folder;
  folder.write("a.yaml");
  folder.write(".hidden");
  folder.write("sub/inner.yaml");
  std::vector<std::string> names = entry_names(folder.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.yaml", "sub"}));
  EXPECT_TRUE(entry_names(folder.path() / "missing").empty());
  EXPECT_TRUE(entry_names(folder.path() / "a.yaml").empty());
}

}  // namespace
}  // namespace platform
