#include "platform/inside.h"

#include <gtest/gtest.h>

#include <optional>

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

}  // namespace
}  // namespace platform
