#include "platform/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace platform {
namespace {

namespace fs = std::filesystem;

// Sets TMPDIR for one test and restores it afterwards.
class ScopedTmpdir {
 public:
  explicit ScopedTmpdir(const std::string& value) {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    ::setenv("TMPDIR", value.c_str(), 1);
  }
  ~ScopedTmpdir() {
    if (old_) {
      ::setenv("TMPDIR", old_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

 private:
  std::optional<std::string> old_;
};

TEST(TempDirTest, CreatesDistinctEmptyFolders) {
  auto first = TempDir::create();
  auto second = TempDir::create();
  ASSERT_TRUE(first.has_value()) << first.error();
  ASSERT_TRUE(second.has_value()) << second.error();
  EXPECT_TRUE(fs::is_directory(first->path()));
  EXPECT_TRUE(fs::is_empty(first->path()));
  EXPECT_NE(first->path(), second->path());
  EXPECT_EQ(first->path().parent_path(), fs::path(system_temp_folder()));
}

TEST(TempDirTest, RemovesItsContentWhenDropped) {
  fs::path path;
  {
    auto dir = TempDir::create();
    ASSERT_TRUE(dir.has_value());
    path = dir->path();
    fs::create_directories(path / "a" / "b");
    std::ofstream(path / "a" / "b" / "file.txt") << "content";
    fs::permissions(path / "a" / "b" / "file.txt", fs::perms::owner_read);
  }
  EXPECT_FALSE(fs::exists(path));
}

TEST(TempDirTest, MovedGuardOwnsTheFolder) {
  auto dir = TempDir::create();
  ASSERT_TRUE(dir.has_value());
  const fs::path path = dir->path();
  std::optional<TempDir> owner;
  {
    TempDir moved = std::move(*dir);
    EXPECT_EQ(moved.path(), path);
    owner.emplace(std::move(moved));
  }
  EXPECT_TRUE(fs::is_directory(path));
  auto other = TempDir::create();
  ASSERT_TRUE(other.has_value());
  const fs::path other_path = other->path();
  *owner = std::move(*other);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::is_directory(other_path));
  owner.reset();
  EXPECT_FALSE(fs::exists(other_path));
}

TEST(TempDirTest, HonoursTmpdir) {
  auto parent = TempDir::create();
  ASSERT_TRUE(parent.has_value());
  ScopedTmpdir tmpdir(parent->path().string());
  EXPECT_EQ(system_temp_folder(), parent->path().string());
  auto dir = TempDir::create();
  ASSERT_TRUE(dir.has_value());
  EXPECT_EQ(dir->path().parent_path(), parent->path());
}

TEST(TempDirTest, EmptyTmpdirMeansTmp) {
  ScopedTmpdir tmpdir("");
  EXPECT_EQ(system_temp_folder(), "/tmp");
}

TEST(TempDirTest, MissingTmpdirFails) {
  auto parent = TempDir::create();
  ASSERT_TRUE(parent.has_value());
  ScopedTmpdir tmpdir((parent->path() / "missing").string());
  auto dir = TempDir::create();
  ASSERT_FALSE(dir.has_value());
  EXPECT_EQ(dir.error(), "No such file or directory");
}

}  // namespace
}  // namespace platform
