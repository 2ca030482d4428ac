#include "runtime/instance/upgrade/offline/bundle_variants.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::offline {
namespace {

using Names = std::vector<std::string>;

Names sorted_variants(const std::filesystem::path& folder, std::string_view group) {
  Names names = bundle_variants(folder, group);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(BundleVariants, NamesWhoseStrippedNameIsTheGroup) {
  test_support::TempFolder folder;
  folder.write("deploy.yaml");
  folder.write("deploy_eks.yaml");
  folder.write("deploy_eks_gke.yaml");
  folder.write("Deploy_aks.yaml");
  folder.write("deploy.yml");
  folder.write("other.yaml");
  folder.write("deploy_\xff.yaml");
  folder.make_folder("deploy_gke.yaml");
  folder.write(".hidden");
  std::filesystem::create_symlink("missing-target", folder.path() / "deploy_aks.yaml");

  EXPECT_EQ(sorted_variants(folder.path(), "deploy.yaml"),
            (Names{"deploy.yaml", "deploy_aks.yaml", "deploy_eks.yaml", "deploy_eks_gke.yaml", "deploy_gke.yaml",
                   "deploy_\xEF\xBF\xBD.yaml"}));
  EXPECT_EQ(sorted_variants(folder.path(), ".hidden"), (Names{".hidden"}));
  EXPECT_TRUE(bundle_variants(folder.path(), "absent.yaml").empty());
}

TEST(BundleVariants, UnlistableFolderYieldsNothing) {
  test_support::TempFolder folder;
  EXPECT_TRUE(bundle_variants(folder.path() / "missing", "deploy.yaml").empty());
  const std::filesystem::path file = folder.write("deploy.yaml");
  EXPECT_TRUE(bundle_variants(file, "deploy.yaml").empty());
}

}  // namespace
}  // namespace runtime::instance::upgrade::offline
