#include "runtime/instance/upgrade/replay/templates.h"

#include <gtest/gtest.h>

namespace runtime::instance::upgrade::replay {
namespace {

using provider::ClusterProvider;

TEST(Templates, FolderOfJoinsVersionTextAndProviderName) {
  const Templates templates{"/nowhere/templates", "1.10", {}};
  EXPECT_EQ(templates.folder_of("1.10", ClusterProvider::kKminus), "/nowhere/templates/1.10/kminus");
  EXPECT_EQ(templates.folder_of("1.2.0-RC1", ClusterProvider::kGke), "/nowhere/templates/1.2.0-RC1/gke");
}

TEST(Templates, ReleasedLeavesOutTheNewest) {
  Templates templates{"/t", "2.0", {{{"2.0", false}, {ClusterProvider::kEks}}}};
  EXPECT_TRUE(templates.released().empty());
  templates.releases.insert(templates.releases.begin(), {{{"1.0", false}, {}}, {{"1.5", true}, {}}});
  const auto released = templates.released();
  ASSERT_EQ(released.size(), 2u);
  EXPECT_EQ(released[0]->entry.version, "1.0");
  EXPECT_EQ(released[1]->entry.version, "1.5");
  EXPECT_TRUE(templates.releases.back().serves(ClusterProvider::kEks));
  EXPECT_FALSE(templates.releases.back().serves(ClusterProvider::kAks));
}

}  // namespace
}  // namespace runtime::instance::upgrade::replay
