#include "core/system/exit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backtrace_environment.h"
#include "result.h"

namespace core::system::exit {
namespace {

using base::error::ProfileError;
using base::error::UpgradeError;
using qv_common::status::ExitStatus;
using qv_error::ApiError;
using qv_error::testing_support::BacktraceEnvironment;

struct ConversionCase {
  CommandError error;
  std::string code;
  ApiError api_error;
  ExitStatus status;
};

TEST(CommandErrorTest, ConversionSetsCodeClassAndStatus) {
  BacktraceEnvironment environment("0", std::nullopt);
  const std::vector<ConversionCase> cases = {
      {ProfileError::FamilyFolderMissing("pods", "/p"), "ProfileError::0003", ApiError::InputError(),
       ExitStatus::QuorValeError},
      {ProfileError::NotFound("x"), "ProfileError::0000", ApiError::InputError(), ExitStatus::QuorValeError},
      {ProfileError::ForeignAssetPathInvalid("a", "p"), "ProfileError::1001", ApiError::NotFound(),
       ExitStatus::QuorValeError},
      {ProfileError::WalkFailed("p", "c"), "ProfileError::5004", ApiError::InternalError(), ExitStatus::GeneralError},
      {UpgradeError::LockParseFailed("c"), "UpgradeError::5300", ApiError::InternalError(), ExitStatus::GeneralError},
      {UpgradeError::ResolvedActionUnsupported("v", "e", "a"), "UpgradeError::5363", ApiError::InternalError(),
       ExitStatus::GeneralError},
  };
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_TRUE(c.error.source.has_value());
    EXPECT_EQ(c.error.source->code, c.code);
    EXPECT_EQ(c.error.source->domain, c.code.substr(0, c.code.find("::")));
    EXPECT_EQ(c.error.source->api_error, c.api_error);
    EXPECT_EQ(c.error.status, c.status);
  }
}

TEST(CommandErrorTest, WrapperOwnsTheOriginalError) {
  const UpgradeError original = UpgradeError::SpecMissing("1.0", "specs/1.0.yaml");
  const CommandError error = original;
  EXPECT_EQ(std::any_cast<UpgradeError>(error.source->qv_error.error()), original);
  EXPECT_EQ(error.source->qv_error.message(), original.message());
}

struct StatusCase {
  ApiError api_error;
  ExitStatus status;
};

TEST(CommandErrorTest, StatusFollowsTheClass) {
  const std::vector<StatusCase> cases = {
      {ApiError::InputError(), ExitStatus::QuorValeError},   {ApiError::NotFound(), ExitStatus::QuorValeError},
      {ApiError::NotAllowed(), ExitStatus::QuorValeError},   {ApiError::Forbidden(), ExitStatus::QuorValeError},
      {ApiError::NotAuthorized(), ExitStatus::QuorValeError}, {ApiError::Unavailable(), ExitStatus::QuorValeError},
      {ApiError::Any(0), ExitStatus::QuorValeError},         {ApiError::Any(499), ExitStatus::QuorValeError},
      {ApiError::Any(500), ExitStatus::GeneralError},        {ApiError::Any(65535), ExitStatus::GeneralError},
      {ApiError::InternalError(), ExitStatus::GeneralError}, {ApiError::NotImplemented(), ExitStatus::GeneralError},
      {ApiError::Unexpected(), ExitStatus::GeneralError},
  };
  BacktraceEnvironment environment("0", std::nullopt);
  for (const StatusCase& c : cases) {
    qv_error::QvError record = qv_error::QvError::wrap("D", 1, "m", 0);
    record.api_error = c.api_error;
    EXPECT_EQ(CommandError::from(std::move(record)).status, c.status) << c.api_error.debug();
  }
}

TEST(CommandErrorTest, DebugWithoutBacktraceIsOneLine) {
  BacktraceEnvironment environment(std::nullopt, std::nullopt);
  const CommandError error = UpgradeError::ContentReadFailed("1.0", "content/a.yaml", "No such file.");
  EXPECT_EQ(error.debug(),
            "CommandError { status: GeneralError, source: Some(QvError { domain: \"UpgradeError\", "
            "code: \"UpgradeError::5345\", api_error: InternalError, qv_error: Could not read the upgrade content "
            "of version '1.0' at 'content/a.yaml': No such file.. }) }");
  const CommandError profile = ProfileError::FamilyFolderMissing("pods", "/k");
  EXPECT_EQ(profile.debug(),
            "CommandError { status: QuorValeError, source: Some(QvError { domain: \"ProfileError\", "
            "code: \"ProfileError::0003\", api_error: InputError, qv_error: Family folder 'pods' is missing at "
            "'/k'. }) }");
}

TEST(CommandErrorTest, DebugWithBacktraceKeepsTheMessage) {
  BacktraceEnvironment environment("1", "0");
  const CommandError error = UpgradeError::InventoryEmpty();
  const std::string rendered = error.debug();
  EXPECT_EQ(rendered.rfind("CommandError { status: GeneralError, source: Some(QvError { domain: \"UpgradeError\", "
                           "code: \"UpgradeError::5313\", api_error: InternalError, "
                           "qv_error: The upgrade inventory lists no versions.\n\nStack backtrace:\n",
                           0),
            0u)
      << rendered;
  EXPECT_EQ(rendered.substr(rendered.size() - 5), " }) }");
}

TEST(CommandErrorTest, DebugOfAMissingSource) {
  EXPECT_EQ(CommandError(ExitStatus::GeneralError, std::nullopt).debug(),
            "CommandError { status: GeneralError, source: None }");
}

qv_common::Result<int, UpgradeError> parse_lock(bool ok) {
  if (!ok) return qv_common::fail(UpgradeError::LockParseFailed("bad"));
  return 1;
}

qv_common::Result<int, CommandError> engine_step(bool ok) {
  QV_ASSIGN_OR_RETURN(const int value, parse_lock(ok));
  if (value > 0) return qv_common::fail(UpgradeError::SpecMissing("1.0", "p"));
  return value;
}

TEST(CommandErrorTest, EngineErrorsConvertWhereACommandErrorIsReturned) {
  BacktraceEnvironment environment("0", std::nullopt);
  const auto propagated = engine_step(false);
  ASSERT_FALSE(propagated.has_value());
  EXPECT_EQ(propagated.error().source->code, "UpgradeError::5300");
  const auto failed = engine_step(true);
  ASSERT_FALSE(failed.has_value());
  EXPECT_EQ(failed.error().source->code, "UpgradeError::5322");
}

}  // namespace
}  // namespace core::system::exit
