#include "platform/git.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace platform {
namespace {

// Whatever this git names as selecting a repository is left out of every run.
TEST(RunGit, LeavesOutEveryVariableThatSelectsARepository) {
  auto listed = run_git({"rev-parse", "--local-env-vars"}, std::nullopt);
  ASSERT_TRUE(listed.has_value()) << listed.error();
  ASSERT_EQ(listed->status, 0) << listed->error;
  std::istringstream lines(listed->output);
  for (std::string name; std::getline(lines, name);) {
    EXPECT_NE(std::find(kGitRepositoryVariables.begin(), kGitRepositoryVariables.end(), name),
              kGitRepositoryVariables.end())
        << name;
  }
}

TEST(RunGit, TheEnvironmentCannotPointGitAtAnotherRepository) {
  ::setenv("GIT_DIR", "/nonexistent/.git", 1);
  auto version = run_git({"rev-parse", "--git-dir"}, "/");
  ::unsetenv("GIT_DIR");
  ASSERT_TRUE(version.has_value()) << version.error();
  EXPECT_EQ(version->error.find("/nonexistent"), std::string::npos) << version->error;
}

}  // namespace
}  // namespace platform
