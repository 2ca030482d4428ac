#include "runtime/instance/upgrade/store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "backtrace_environment.h"
#include "platform/text_file.h"
#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::store {
namespace {

namespace fs = std::filesystem;
using qv_error::testing_support::BacktraceEnvironment;

plan::Step step_of(std::string file, std::string variant, std::string_view family = "configs") {
  return plan::Step{std::string(family) + "/" + file, file, std::move(variant), {}, family};
}

std::string text_of(const fs::path& path) { return platform::read_text(path).value(); }

TEST(FolderStore, PathTakesTheVariantOrTheFile) {
  const plan::Step step = step_of("app.yaml", "app_eks.yaml", "pods");
  EXPECT_EQ(FolderStore("/k", false).path_of(step), fs::path("/k/pods/app_eks.yaml"));
  EXPECT_EQ(FolderStore("/k", true).path_of(step), fs::path("/k/pods/app.yaml"));
  EXPECT_EQ(FolderStore("rel", false).locate(step), "rel/pods/app_eks.yaml");
  EXPECT_EQ(FolderStore("rel", true).locate(step), "rel/pods/app.yaml");
  // A root that is not UTF-8 is shown with the replacement character.
  EXPECT_EQ(FolderStore("r\xff", true).locate(step), "r\xEF\xBF\xBD/pods/app.yaml");
}

TEST(FolderStore, ReadsTheFileOrNone) {
  const test_support::TempFolder root;
  root.write("configs/app_eks.yaml", "a: 1\n");
  root.write("configs/app.yaml", "b: 2\n");
  const plan::Step step = step_of("app.yaml", "app_eks.yaml");

  FolderStore by_variant(root.path(), false);
  auto variant = by_variant.read(step);
  ASSERT_TRUE(variant);
  EXPECT_EQ(*variant, std::optional<std::string>("a: 1\n"));
  FolderStore by_file(root.path(), true);
  auto file = by_file.read(step);
  ASSERT_TRUE(file);
  EXPECT_EQ(*file, std::optional<std::string>("b: 2\n"));

  auto absent = by_variant.read(step_of("x.yaml", "x.yaml"));
  ASSERT_TRUE(absent);
  EXPECT_FALSE(absent->has_value());
  auto no_family = by_variant.read(step_of("x.yaml", "x.yaml", "assets"));
  ASSERT_TRUE(no_family);
  EXPECT_FALSE(no_family->has_value());
}

TEST(FolderStore, ReadFailures) {
  BacktraceEnvironment environment("0", std::nullopt);
  const test_support::TempFolder root;
  root.make_folder("configs/folder.yaml");
  root.write("configs/binary.yaml", "a: \xff\n");
  FolderStore store(root.path(), false);

  auto folder = store.read(step_of("folder.yaml", "folder.yaml"));
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error().source->code, "UpgradeError::5356");
  EXPECT_EQ(
      folder.error().source->qv_error.message(),
      "Could not read the kprofile file at '" + (root.path() / "configs/folder.yaml").string() + "': Is a directory.");

  auto binary = store.read(step_of("binary.yaml", "binary.yaml"));
  ASSERT_FALSE(binary);
  EXPECT_EQ(binary.error().source->code, "UpgradeError::5356");
}

TEST(FolderStore, WriteCreatesFoldersAndOverwrites) {
  const test_support::TempFolder root;
  FolderStore store(root.path() / "new", false);
  const plan::Step step = step_of("app.yaml", "app_eks.yaml", "assets");
  ASSERT_TRUE(store.write(step, "first\n"));
  EXPECT_EQ(text_of(root.path() / "new/assets/app_eks.yaml"), "first\n");
  ASSERT_TRUE(store.write(step, "2"));
  EXPECT_EQ(text_of(root.path() / "new/assets/app_eks.yaml"), "2");
  ASSERT_TRUE(store.write(step, ""));
  EXPECT_EQ(text_of(root.path() / "new/assets/app_eks.yaml"), "");
  EXPECT_FALSE(fs::exists(root.path() / "new/assets/app.yaml"));

  FolderStore by_file(root.path(), true);
  ASSERT_TRUE(by_file.write(step, "by file"));
  EXPECT_EQ(text_of(root.path() / "assets/app.yaml"), "by file");
}

TEST(FolderStore, WriteFailures) {
  BacktraceEnvironment environment("0", std::nullopt);
  const test_support::TempFolder root;
  root.write("configs", "a file where the family folder should be");
  root.make_folder("pods/folder.yaml");
  FolderStore store(root.path(), false);

  auto parent = store.write(step_of("a.yaml", "a.yaml"), "x");
  ASSERT_FALSE(parent);
  EXPECT_EQ(parent.error().source->code, "UpgradeError::5357");
  EXPECT_EQ(parent.error().source->qv_error.message().rfind(
                "Could not write the upgraded file at '" + (root.path() / "configs").string() + "': ", 0),
            0u)
      << parent.error().source->qv_error.message();

  auto folder = store.write(step_of("folder.yaml", "folder.yaml", "pods"), "x");
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error().source->code, "UpgradeError::5357");
  EXPECT_EQ(
      folder.error().source->qv_error.message(),
      "Could not write the upgraded file at '" + (root.path() / "pods/folder.yaml").string() + "': Is a directory.");
}

TEST(FolderStore, RemovesTheFile) {
  BacktraceEnvironment environment("0", std::nullopt);
  const test_support::TempFolder root;
  root.write("configs/app_eks.yaml");
  root.write("configs/app.yaml");
  root.make_folder("configs/folder.yaml");
  FolderStore store(root.path(), false);

  ASSERT_TRUE(store.remove(step_of("app.yaml", "app_eks.yaml")));
  EXPECT_FALSE(fs::exists(root.path() / "configs/app_eks.yaml"));
  EXPECT_TRUE(fs::exists(root.path() / "configs/app.yaml"));
  EXPECT_TRUE(store.remove(step_of("app.yaml", "app_eks.yaml")));
  EXPECT_TRUE(store.remove(step_of("x.yaml", "x.yaml", "assets")));

  auto folder = store.remove(step_of("folder.yaml", "folder.yaml"));
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error().source->code, "UpgradeError::5357");
  EXPECT_EQ(folder.error().source->qv_error.message().rfind(
                "Could not write the upgraded file at '" + (root.path() / "configs/folder.yaml").string() + "': ", 0),
            0u);
  EXPECT_TRUE(fs::is_directory(root.path() / "configs/folder.yaml"));

  FolderStore by_file(root.path(), true);
  ASSERT_TRUE(by_file.remove(step_of("app.yaml", "app_gke.yaml")));
  EXPECT_FALSE(fs::exists(root.path() / "configs/app.yaml"));
}

}  // namespace
}  // namespace runtime::instance::upgrade::store
