#include "backtrace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "backtrace_environment.h"

namespace qv_error {
namespace {

struct SwitchCase {
  std::optional<std::string_view> library;
  std::optional<std::string_view> general;
  bool enabled;
};

TEST(BacktraceTest, SwitchPrefersTheLibraryVariable) {
  const std::vector<SwitchCase> cases = {
      {std::nullopt, std::nullopt, false},
      {"1", std::nullopt, true},
      {"0", std::nullopt, false},
      {"", std::nullopt, true},
      {"full", std::nullopt, true},
      {std::nullopt, "1", true},
      {std::nullopt, "0", false},
      {"0", "1", false},
      {"1", "0", true},
      {"\xff", "0", false},  // not UTF-8: the general variable decides
      {"\xff", "1", true},
      {"\xff", std::nullopt, false},
  };
  for (const SwitchCase& c : cases) {
    EXPECT_EQ(capture_switch(c.library, c.general), c.enabled)
        << c.library.value_or("<unset>") << " / " << c.general.value_or("<unset>");
  }
}

TEST(BacktraceTest, DisabledCaptureHoldsNoFrames) {
  testing_support::BacktraceEnvironment environment(std::nullopt, "0");
  const Backtrace backtrace = Backtrace::capture();
  EXPECT_EQ(backtrace.status(), Backtrace::Status::Disabled);
  EXPECT_TRUE(backtrace.frames().empty());
  EXPECT_EQ(backtrace.render(), "");
}

TEST(BacktraceTest, EnabledCaptureRendersOneLinePerFrame) {
  testing_support::BacktraceEnvironment environment("1", std::nullopt);
  const Backtrace backtrace = Backtrace::capture();
  ASSERT_EQ(backtrace.status(), Backtrace::Status::Captured);
  ASSERT_FALSE(backtrace.frames().empty());
  const std::string rendered = backtrace.render();
  EXPECT_EQ(rendered.rfind("   0: ", 0), 0u) << rendered;
  EXPECT_NE(rendered.back(), '\n');
  EXPECT_EQ(static_cast<std::size_t>(std::count(rendered.begin(), rendered.end(), '\n')) + 1,
            backtrace.frames().size());
}

TEST(BacktraceTest, DecisionIsKeptUntilReset) {
  testing_support::BacktraceEnvironment environment("0", std::nullopt);
  EXPECT_EQ(Backtrace::capture().status(), Backtrace::Status::Disabled);
  ::setenv(Backtrace::kLibraryVariable, "1", 1);
  EXPECT_EQ(Backtrace::capture().status(), Backtrace::Status::Disabled);
  Backtrace::reset_switch();
  EXPECT_EQ(Backtrace::capture().status(), Backtrace::Status::Captured);
}

}  // namespace
}  // namespace qv_error
