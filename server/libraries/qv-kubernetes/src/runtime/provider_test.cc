#include "runtime/provider.h"

#include <gtest/gtest.h>

namespace runtime::provider {
namespace {

TEST(ClusterProvider, CodesAndNames) {
  struct Case {
    ClusterProvider provider;
    int code;
    std::string_view name;
  };
  const Case cases[] = {
      {ClusterProvider::kKminus, 0, "kminus"}, {ClusterProvider::kDocker, 1, "docker"},
      {ClusterProvider::kEks, 2, "eks"},       {ClusterProvider::kAks, 3, "aks"},
      {ClusterProvider::kGke, 4, "gke"},       {ClusterProvider::kFargate, 5, "fargate"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<int>(c.provider), c.code);
    EXPECT_EQ(as_str(c.provider), c.name);
  }
}

}  // namespace
}  // namespace runtime::provider
