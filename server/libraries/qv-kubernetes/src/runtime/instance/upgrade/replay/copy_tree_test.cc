#include "runtime/instance/upgrade/replay/copy_tree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "platform/temp_dir.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;

void write_file(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

// Every entry below `root` by relative path: "dir", "link" or the file's content.
std::map<std::string, std::string> tree_of(const fs::path& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const auto name = fs::relative(entry.path(), root).string();
    if (entry.is_symlink()) {
      tree[name] = "link";
    } else if (entry.is_directory()) {
      tree[name] = "dir";
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream content;
      content << in.rdbuf();
      tree[name] = content.str();
    }
  }
  return tree;
}

unsigned permissions_of(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

class CopyTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto dir = platform::TempDir::create();
    ASSERT_TRUE(dir.has_value());
    dir_.emplace(std::move(*dir));
    src_ = dir_->path() / "src";
    dst_ = dir_->path() / "deep" / "dst";
    write_file(src_ / "a.yaml", "a");
    write_file(src_ / "sub" / "b.yaml", "b");
    write_file(src_ / "sub" / "deeper" / "c.yaml", "c");
    fs::create_directories(src_ / "empty");
  }

  std::optional<platform::TempDir> dir_;
  fs::path src_;
  fs::path dst_;
};

TEST_F(CopyTreeTest, CopiesNestedFoldersCreatingParents) {
  ASSERT_TRUE(copy_tree(src_, dst_).has_value());
  EXPECT_EQ(tree_of(dst_), (std::map<std::string, std::string>{{"a.yaml", "a"},
                                                               {"empty", "dir"},
                                                               {"sub", "dir"},
                                                               {"sub/b.yaml", "b"},
                                                               {"sub/deeper", "dir"},
                                                               {"sub/deeper/c.yaml", "c"}}));
}

TEST_F(CopyTreeTest, LinkToAFileBecomesARegularFile) {
  write_file(dir_->path() / "outside.yaml", "target content");
  fs::create_symlink(dir_->path() / "outside.yaml", src_ / "sub" / "link.yaml");
  ASSERT_TRUE(copy_tree(src_, dst_).has_value());
  EXPECT_FALSE(fs::is_symlink(dst_ / "sub" / "link.yaml"));
  EXPECT_EQ(tree_of(dst_)["sub/link.yaml"], "target content");
}

TEST_F(CopyTreeTest, LinkToAFolderIsCopiedAsAFileAndFails) {
  fs::create_directory_symlink(src_ / "sub", src_ / "folder-link");
  EXPECT_FALSE(copy_tree(src_, dst_).has_value());
}

TEST_F(CopyTreeTest, KeepsPermissionBits) {
  write_file(src_ / "run.sh", "#!/bin/sh\n");
  write_file(src_ / "sub" / "secret.yaml", "s");
  ::chmod((src_ / "run.sh").c_str(), 0751);
  ::chmod((src_ / "sub" / "secret.yaml").c_str(), 0600);
  ::chmod((src_ / "a.yaml").c_str(), 0444);
  ASSERT_TRUE(copy_tree(src_, dst_).has_value());
  EXPECT_EQ(permissions_of(dst_ / "run.sh"), 0751u);
  EXPECT_EQ(permissions_of(dst_ / "sub" / "secret.yaml"), 0600u);
  EXPECT_EQ(permissions_of(dst_ / "a.yaml"), 0444u);
}

TEST_F(CopyTreeTest, CopyReplacesFilesAndKeepsExtraOnes) {
  write_file(dst_ / "a.yaml", "old and longer");
  write_file(dst_ / "extra.yaml", "extra");
  ASSERT_TRUE(copy_tree(src_, dst_).has_value());
  const auto tree = tree_of(dst_);
  EXPECT_EQ(tree.at("a.yaml"), "a");
  EXPECT_EQ(tree.at("extra.yaml"), "extra");
}

TEST_F(CopyTreeTest, ResetRemovesWhatTheSourceLacks) {
  write_file(dst_ / "a.yaml", "old");
  write_file(dst_ / "extra.yaml", "extra");
  write_file(dst_ / "sub" / "stale" / "x.yaml", "x");
  ASSERT_TRUE(reset_tree(src_, dst_).has_value());
  EXPECT_EQ(tree_of(dst_), tree_of(src_));
}

TEST_F(CopyTreeTest, ResetOntoAMissingFolderCopies) {
  ASSERT_TRUE(reset_tree(src_, dst_).has_value());
  EXPECT_EQ(tree_of(dst_), tree_of(src_));
}

TEST_F(CopyTreeTest, ReportsTheSystemReason) {
  auto missing = copy_tree(dir_->path() / "missing", dst_);
  ASSERT_FALSE(missing.has_value());
  EXPECT_EQ(missing.error(), "No such file or directory");

  write_file(dir_->path() / "file", "not a folder");
  auto blocked = reset_tree(src_, dir_->path() / "file" / "dst");
  ASSERT_FALSE(blocked.has_value());
  EXPECT_EQ(blocked.error(), "Not a directory");
}

}  // namespace
}  // namespace runtime::instance::upgrade::replay
