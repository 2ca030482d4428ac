#include "body.h"

#include <gtest/gtest.h>

namespace qv_server::body {
namespace {

TEST(Run, EverySubcommandReportsThatItIsNotAvailableYet) {
  const cli::Repository repository{"/repo", std::nullopt};
  const struct {
    cli::CliCommand command;
    std::string message;
  } cases[] = {
      {cli::Upgrade{"tree", "profile", "1.0"},
       "the upgrade command is not available in this build"},
      {cli::Replay{repository, std::nullopt}, "the replay command is not available in this build"},
      {cli::Digests{repository, true}, "the digests command is not available in this build"},
      {cli::Templates{repository, "out"}, "the templates command is not available in this build"},
  };
  for (const auto& c : cases) {
    const auto result = run(c.command);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), c.message);
  }
}

}  // namespace
}  // namespace qv_server::body
