#include "platform/subprocess.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/temp_dir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(SubprocessTest, CapturesLargeOutputOnBothStreamsWithoutBlocking) {
  // Each stream exceeds any pipe buffer; the child fills stderr first and
  // stdout last, then both interleaved.
  const std::string script =
      "head -c 3000000 /dev/zero | tr '\\0' e >&2; head -c 4000000 /dev/zero | tr '\\0' o;"
      "for i in 1 2 3; do head -c 1000000 /dev/zero | tr '\\0' e >&2; head -c 1000000 /dev/zero | tr '\\0' o;"
      "done";
  auto result = run_process({"sh", "-c", script}, std::nullopt);
  ASSERT_TRUE(result.has_value()) << result.error();
  EXPECT_EQ(result->status, 0);
  EXPECT_EQ(result->output, std::string(7000000, 'o'));
  EXPECT_EQ(result->error, std::string(6000000, 'e'));
}

TEST(SubprocessTest, ReportsExitStatus) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"exit 0", 0}, {"exit 3", 3}, {"echo out; echo err >&2; exit 128", 128}, {"kill -9 $$", 128 + 9}};
  for (const auto& [script, status] : cases) {
    auto result = run_process({"sh", "-c", script}, std::nullopt);
    ASSERT_TRUE(result.has_value()) << result.error();
    EXPECT_EQ(result->status, status) << script;
  }
}

TEST(SubprocessTest, PassesArgumentsWithoutShellAndEmptyInput) {
  auto result = run_process({"printf", "%s|%s", "a b", "$HOME;*"}, std::nullopt);
  ASSERT_TRUE(result.has_value()) << result.error();
  EXPECT_EQ(result->output, "a b|$HOME;*");

  auto input = run_process({"cat"}, std::nullopt);
  ASSERT_TRUE(input.has_value()) << input.error();
  EXPECT_EQ(input->status, 0);
  EXPECT_EQ(input->output, "");
}

TEST(SubprocessTest, ChangesTheInheritedEnvironment) {
  ::setenv("QV_SUBPROCESS_KEPT", "kept", 1);
  ::setenv("QV_SUBPROCESS_REMOVED", "removed", 1);
  ::setenv("QV_SUBPROCESS_REPLACED", "old", 1);
  auto result = run_process(
      {"sh", "-c",
       "echo \"$QV_SUBPROCESS_KEPT ${QV_SUBPROCESS_REMOVED-unset} $QV_SUBPROCESS_REPLACED $QV_SUBPROCESS_ADDED\""},
      std::nullopt,
      {{"QV_SUBPROCESS_REMOVED", std::nullopt}, {"QV_SUBPROCESS_REPLACED", "new"}, {"QV_SUBPROCESS_ADDED", "added"}});
  for (const char* name : {"QV_SUBPROCESS_KEPT", "QV_SUBPROCESS_REMOVED", "QV_SUBPROCESS_REPLACED"}) ::unsetenv(name);
  ASSERT_TRUE(result.has_value()) << result.error();
  EXPECT_EQ(result->output, "kept unset new added\n");
}

TEST(SubprocessTest, MissingProgramFails) {
  auto by_path = run_process({"/nonexistent/qvk-no-such-program"}, std::nullopt);
  ASSERT_FALSE(by_path.has_value());
  EXPECT_EQ(by_path.error(), "No such file or directory");

  // The reason of a failed search depends on the PATH folders' permissions.
  auto by_search = run_process({"qvk-no-such-program"}, std::nullopt);
  ASSERT_FALSE(by_search.has_value());
  EXPECT_FALSE(by_search.error().empty());
}

TEST(SubprocessTest, RunsInTheWorkingFolder) {
  auto folder = TempDir::create();
  ASSERT_TRUE(folder.has_value());
  auto result = run_process({"pwd", "-P"}, folder->path());
  ASSERT_TRUE(result.has_value()) << result.error();
  EXPECT_EQ(result->output, fs::canonical(folder->path()).string() + "\n");
}

TEST(SubprocessTest, MissingWorkingFolderFails) {
  auto folder = TempDir::create();
  ASSERT_TRUE(folder.has_value());
  auto result = run_process({"pwd"}, folder->path() / "missing");
  ASSERT_FALSE(result.has_value());
  EXPECT_EQ(result.error(), "No such file or directory");
}

}  // namespace
}  // namespace platform
