#include "platform/inside.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>

#include "platform/text_file.h"
#include "test_support/deep_folders.h"
#include "test_support/temp_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(CheckInside, OnlyLinksThatLeadOutOfTheFolderAreRefused) {
  test_support::TempFolder root;
  test_support::TempFolder outside;
  const fs::path repository = root.make_folder("repo");
  root.make_folder("repo-sibling");
  root.write("repo/shared/a.yaml", "a");
  fs::create_symlink("../shared", root.make_folder("repo/kprofile") / "configs");
  fs::create_symlink(outside.path(), repository / "away");
  fs::create_symlink(root.path() / "repo-sibling", repository / "sibling");
  fs::create_symlink(outside.path() / "missing", repository / "dangling");
  struct Case {
    fs::path path;
    std::optional<fs::path> leads_to;  // none when the path passes
  };
  const Case cases[] = {
      {repository / "shared/a.yaml", std::nullopt},
      {repository / "kprofile/configs/a.yaml", std::nullopt},
      {repository / "kprofile/configs/../../shared", std::nullopt},
      {repository / "missing.yaml", std::nullopt},
      {repository / "dangling", std::nullopt},
      {repository / "away", outside.path()},
      {repository / "sibling", root.path() / "repo-sibling"},
      {repository / "..", root.path()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.string());
    auto inside = check_inside(c.path, repository);
    if (!c.leads_to) {
      EXPECT_TRUE(inside.has_value()) << inside.error();
      continue;
    }
    ASSERT_FALSE(inside.has_value());
    EXPECT_EQ(inside.error(), "a link leads outside '" + repository.string() + "' to '" +
                                  fs::canonical(*c.leads_to).string() + "'");
  }
}

// What an open reaches decides, also where the path cannot be resolved as
// text: a resolution longer than PATH_MAX, a loop, a link to a file that no
// longer has a path.
TEST(CheckInside, WhatCannotBeResolvedIsRefusedAndWhatLeadsBackInsidePasses) {
  test_support::TempFolder root;
  const fs::path repository = root.make_folder("repo");
  const fs::path outside = root.write("outside.yaml", "outside");
  root.write("repo/shared/a.yaml", "a");
  const test_support::DeepFolders deep(repository);
  fs::create_symlink(deep.relative(), repository / "D");
  fs::create_symlink("D/" + deep.climb() + "../outside.yaml", repository / "deep-out");
  fs::create_symlink("D/" + deep.climb() + "shared/a.yaml", repository / "deep-in");
  fs::create_symlink(repository / "shared/a.yaml", repository / "absolute-in");
  fs::create_symlink("loop", repository / "loop");
  const fs::path deleted = root.write("deleted.yaml", "deleted");
  const UniqueFd held(::open(deleted.c_str(), O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(held);
  fs::remove(deleted);
  fs::create_symlink("/proc/self/fd/" + std::to_string(held.get()), repository / "no-path");
  struct Case {
    std::string name;
    std::optional<std::string> refused;  // the cause, or none when the path passes and reads "a"
  };
  const Case cases[] = {
      {"deep-out", "a link leads outside '" + repository.string() + "' to '" + outside.string() + "'"},
      {"loop", "the path cannot be resolved: Too many levels of symbolic links"},
      {"no-path", "a link leads to a file that no longer has a path"},
      {"deep-in", std::nullopt},
      {"absolute-in", std::nullopt},
  };
  const Containment reads(repository);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto inside = check_inside(repository / c.name, repository);
    auto text = read_text(repository / c.name, reads);
    if (!c.refused) {
      EXPECT_TRUE(inside.has_value()) << inside.error();
      EXPECT_EQ(text.value_or("not read"), "a");
      continue;
    }
    ASSERT_FALSE(inside.has_value());
    EXPECT_EQ(inside.error(), *c.refused);
    ASSERT_FALSE(text.has_value());
    EXPECT_EQ(text.error(), *c.refused);
  }
}

TEST(Containment, NothingThereIsMissingAndWithoutAFolderAnythingOpens) {
  test_support::TempFolder root;
  test_support::TempFolder outside;
  const fs::path repository = root.make_folder("repo");
  fs::create_symlink(outside.path() / "missing", repository / "dangling");
  const fs::path away = outside.write("away.yaml", "away");
  fs::create_symlink(away, repository / "away");
  const Containment reads(repository);
  for (const char* name : {"missing.yaml", "dangling", "missing/below.yaml"}) {
    SCOPED_TRACE(name);
    const Opened opened = reads.open(repository / name, kReadFlags);
    ASSERT_FALSE(opened.has_value());
    EXPECT_TRUE(opened.error().missing()) << opened.error().cause;
  }
  EXPECT_EQ(read_text(repository / "away", Containment()).value_or(""), "away");
  const Containment in_missing(root.path() / "none");
  const Opened below_missing = in_missing.open(root.path() / "none/a.yaml", kReadFlags);
  ASSERT_FALSE(below_missing.has_value());
  EXPECT_TRUE(below_missing.error().missing());
}

}  // namespace
}  // namespace platform
