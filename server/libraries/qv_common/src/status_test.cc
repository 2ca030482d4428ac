#include "status.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace qv_common::status {
namespace {

TEST(ExitStatusTest, ValuesAndDebugNamesFollowDeclarationOrder) {
  const char* const names[] = {"Success",       "NoAction",       "Cancelled",       "Aborted",        "GeneralError",
                               "QuorValeError", "QuorValeSigInt", "QuorValeSigKill", "QuorValeSigTerm"};
  for (std::uint8_t value = 0; value < 9; ++value) {
    EXPECT_EQ(debug_name(static_cast<ExitStatus>(value)), names[value]);
  }
  EXPECT_EQ(static_cast<std::uint8_t>(ExitStatus::GeneralError), 4);
  EXPECT_EQ(static_cast<std::uint8_t>(ExitStatus::QuorValeError), 5);
}

}  // namespace
}  // namespace qv_common::status
