#include "qv_error.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "backtrace_environment.h"

namespace qv_error {
namespace {

using testing_support::BacktraceEnvironment;

TEST(QvErrorTest, WrapPadsTheCodeAndClassifiesIt) {
  BacktraceEnvironment environment(std::nullopt, std::nullopt);
  const QvError padded = QvError::wrap("ProfileError", 3, "m", 3);
  EXPECT_EQ(padded.domain, "ProfileError");
  EXPECT_EQ(padded.code, "ProfileError::0003");
  EXPECT_EQ(padded.api_error, ApiError::InputError());
  EXPECT_EQ(QvError::wrap("ProfileError", 1001, "m", 0).code, "ProfileError::1001");
  EXPECT_EQ(QvError::wrap("UpgradeError", 5310, "m", 0).api_error, ApiError::InternalError());
  EXPECT_EQ(QvError::wrap("X", 65535, "m", 0).code, "X::65535");
}

TEST(QvErrorTest, WrapOwnsTheErrorAndItsMessage) {
  BacktraceEnvironment environment("0", "1");
  const QvError error = QvError::wrap("D", 7, "the message", std::string("payload"));
  EXPECT_EQ(std::any_cast<std::string>(error.qv_error.error()), "payload");
  EXPECT_EQ(error.qv_error.message(), "the message");
  EXPECT_EQ(error.qv_error.backtrace().status(), Backtrace::Status::Disabled);
}

TEST(QvErrorTest, DebugWithoutBacktraceShowsTheMessageUnquoted) {
  BacktraceEnvironment environment(std::nullopt, "0");
  const QvError error = QvError::wrap("UpgradeError", 5345, "Could not read \"x\".\nSecond line.", 0);
  EXPECT_EQ(error.debug(),
            "QvError { domain: \"UpgradeError\", code: \"UpgradeError::5345\", api_error: InternalError, "
            "qv_error: Could not read \"x\".\nSecond line. }");
}

TEST(QvErrorTest, DebugWithBacktraceAppendsTheFrames) {
  BacktraceEnvironment environment(std::nullopt, "1");
  const QvError error = QvError::wrap("UpgradeError", 5300, "Message.", 0);
  ASSERT_EQ(error.qv_error.backtrace().status(), Backtrace::Status::Captured);
  const std::string wrapper = error.qv_error.debug();
  EXPECT_EQ(wrapper.rfind("Message.\n\nStack backtrace:\n   0: ", 0), 0u) << wrapper;
  EXPECT_FALSE(std::isspace(static_cast<unsigned char>(wrapper.back())));
  EXPECT_NE(error.debug().find("qv_error: Message.\n\nStack backtrace:\n"), std::string::npos);
}

}  // namespace
}  // namespace qv_error
