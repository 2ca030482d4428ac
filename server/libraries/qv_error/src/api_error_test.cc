#include "api_error.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv_error {
namespace {

struct Case {
  std::uint16_t code;
  ApiError expected;
};

TEST(ApiErrorTest, ClassComesFromTheThousands) {
  const std::vector<Case> cases = {
      {0, ApiError::InputError()},        {999, ApiError::InputError()},   {1000, ApiError::NotFound()},
      {1999, ApiError::NotFound()},       {2000, ApiError::NotAllowed()},  {3000, ApiError::Forbidden()},
      {3999, ApiError::Forbidden()},      {4000, ApiError::NotAuthorized()}, {4999, ApiError::NotAuthorized()},
      {5000, ApiError::InternalError()},  {5363, ApiError::InternalError()}, {65535, ApiError::InternalError()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApiError::from(c.code), c.expected) << c.code;
  }
}

TEST(ApiErrorTest, DebugIsTheVariantName) {
  EXPECT_EQ(ApiError::InputError().debug(), "InputError");
  EXPECT_EQ(ApiError::NotAuthorized().debug(), "NotAuthorized");
  EXPECT_EQ(ApiError::InternalError().debug(), "InternalError");
  EXPECT_EQ(ApiError::Unavailable().debug(), "Unavailable");
  EXPECT_EQ(ApiError::Any(503).debug(), "Any(503)");
}

TEST(ApiErrorTest, AnyComparesItsStatus) {
  EXPECT_EQ(ApiError::Any(404), ApiError::Any(404));
  EXPECT_NE(ApiError::Any(404), ApiError::Any(500));
  EXPECT_NE(ApiError::Any(0), ApiError::InputError());
}

}  // namespace
}  // namespace qv_error
