#include "edition/edition.h"

#include <gtest/gtest.h>

namespace edition {
namespace {

TEST(QuorvaleEdition, AcceptsItsOwnAndTheOpenSourceMarkerOnly) {
  struct {
    const char* marker;
    bool compatible;
    bool upgrade;
  } cases[] = {
      {"enterprise", true, false},
      {"opensource", true, true},
      {"Enterprise", false, false},
      {"enterprise ", false, false},
      {" opensource", false, false},
      {"", false, false},
  };
  const QuorvaleEdition edition;
  for (const auto& test_case : cases) {
    SCOPED_TRACE(test_case.marker);
    EXPECT_EQ(edition.is_compatible(test_case.marker), test_case.compatible);
    EXPECT_EQ(edition.requires_upgrade(test_case.marker), test_case.upgrade);
  }
  EXPECT_EQ(QuorvaleEdition::kMarker, "enterprise");
}

}  // namespace
}  // namespace edition
