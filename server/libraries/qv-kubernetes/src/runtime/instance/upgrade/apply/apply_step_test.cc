#include "runtime/instance/upgrade/apply/apply_step.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "backtrace_environment.h"
#include "platform/text_file.h"
#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::apply {
namespace {

namespace fs = std::filesystem;
using qv_error::testing_support::BacktraceEnvironment;
using spec::ActionKind;
using spec::ModifyTextIf;
using spec::Operation;

constexpr std::string_view kVersion = "1.1";

// A folder store that also records which of its operations ran, to see the
// write-back of a modify that changed nothing.
class RecordingStore final : public store::Store {
 public:
  RecordingStore(fs::path root, bool by_file) : folder_(std::move(root), by_file) {}

  std::string locate(const plan::Step& step) const override { return folder_.locate(step); }
  qv_common::Result<std::optional<std::string>, core::system::exit::CommandError> read(
      const plan::Step& step) override {
    calls_.push_back("read");
    return folder_.read(step);
  }
  qv_common::Result<void, core::system::exit::CommandError> write(const plan::Step& step, std::string text) override {
    calls_.push_back("write " + text);
    return folder_.write(step, std::move(text));
  }
  qv_common::Result<void, core::system::exit::CommandError> remove(const plan::Step& step) override {
    calls_.push_back("remove");
    return folder_.remove(step);
  }

  const std::vector<std::string>& calls() const { return calls_; }

 private:
  store::FolderStore folder_;
  std::vector<std::string> calls_;
};

// An upgrade tree and a kprofile folder side by side.
class ApplyStep : public testing::Test {
 protected:
  fs::path kupgrade() const { return folder_.path() / "kupgrade"; }
  fs::path kprofile() const { return folder_.path() / "kprofile"; }
  void content(const std::string& relative, std::string_view text) const {
    folder_.write(fs::path("kupgrade/upgrades/1.1") / relative, text);
  }
  void profile_file(const std::string& relative, std::string_view text) const {
    folder_.write(fs::path("kprofile") / relative, text);
  }
  std::string profile_text(const std::string& relative) const {
    return platform::read_text(kprofile() / relative).value();
  }
  bool profile_has(const std::string& relative) const { return fs::exists(kprofile() / relative); }

  qv_common::Result<StepResult, core::system::exit::CommandError> apply(const plan::Step& step, bool by_file = false) {
    store_ = std::make_unique<RecordingStore>(kprofile(), by_file);
    return apply_step(*store_, kupgrade(), kVersion, step, EditContext{patterns_, work_});
  }
  const std::vector<std::string>& calls() const { return store_->calls(); }

  BacktraceEnvironment environment_{"0", std::nullopt};
  test_support::TempFolder folder_;
  std::unique_ptr<RecordingStore> store_;
  PatternCache patterns_;
  WorkBudget work_;
};

plan::Step step_of(ActionKind kind, std::string variant = "app_eks.yaml", std::vector<Operation> changes = {}) {
  return plan::Step{"configs/app.yaml", "app.yaml", std::move(variant), spec::Action{kind, std::move(changes)},
                    "configs"};
}

Operation text_op(std::string pattern, std::string replacement) {
  return {ModifyTextIf{std::move(pattern), std::move(replacement), {}, {}}};
}

TEST_F(ApplyStep, RetainTouchesNothing) {
  profile_file("configs/app_eks.yaml", "a: 1\n");
  auto result = apply(step_of(ActionKind::kRetain));
  ASSERT_TRUE(result) << result.error().debug();
  EXPECT_EQ(*result, StepResult::kUnchanged);
  EXPECT_TRUE(calls().empty());
  auto absent = apply(step_of(ActionKind::kRetain, "app_gke.yaml"));
  ASSERT_TRUE(absent);
  EXPECT_EQ(*absent, StepResult::kUnchanged);
  EXPECT_FALSE(profile_has("configs/app_gke.yaml"));
}

TEST_F(ApplyStep, CreateAndReplaceWriteTheContent) {
  content("configs/app_eks.yaml", "new: text\n");
  for (ActionKind kind : {ActionKind::kCreate, ActionKind::kReplace}) {
    SCOPED_TRACE(spec::kActionNames[static_cast<std::size_t>(kind)]);
    fs::remove_all(kprofile());
    // Into a missing family folder.
    auto created = apply(step_of(kind));
    ASSERT_TRUE(created) << created.error().debug();
    EXPECT_EQ(*created, StepResult::kWritten);
    EXPECT_EQ(profile_text("configs/app_eks.yaml"), "new: text\n");
    // Over an existing file.
    profile_file("configs/app_eks.yaml", "old: text, longer than the new one\n");
    auto replaced = apply(step_of(kind));
    ASSERT_TRUE(replaced);
    EXPECT_EQ(*replaced, StepResult::kWritten);
    EXPECT_EQ(profile_text("configs/app_eks.yaml"), "new: text\n");
  }
}

TEST_F(ApplyStep, ContentIsLookedUpUnderTheVariant) {
  content("configs/app_eks.yaml", "eks\n");
  content("configs/app.yaml", "neutral\n");
  auto by_file = apply(step_of(ActionKind::kCreate), true);
  ASSERT_TRUE(by_file) << by_file.error().debug();
  EXPECT_EQ(profile_text("configs/app.yaml"), "eks\n");
  EXPECT_FALSE(profile_has("configs/app_eks.yaml"));

  fs::remove_all(kprofile());
  auto by_variant = apply(step_of(ActionKind::kCreate), false);
  ASSERT_TRUE(by_variant);
  EXPECT_EQ(profile_text("configs/app_eks.yaml"), "eks\n");
  EXPECT_FALSE(profile_has("configs/app.yaml"));
}

TEST_F(ApplyStep, MissingContentWritesNothing) {
  profile_file("configs/app_eks.yaml", "old\n");
  content("configs/app.yaml", "neutral content does not serve the variant\n");
  auto result = apply(step_of(ActionKind::kReplace));
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().source->code, "UpgradeError::5345");
  EXPECT_EQ(result.error().source->qv_error.message(), "Could not read the upgrade content of version '1.1' at '" +
                                                           (kupgrade() / "upgrades/1.1/configs/app_eks.yaml").string() +
                                                           "': No such file or directory.");
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(profile_text("configs/app_eks.yaml"), "old\n");
}

TEST_F(ApplyStep, DeleteRemovesOrFindsNothing) {
  profile_file("configs/app_eks.yaml", "a: 1\n");
  profile_file("configs/app.yaml", "a: 1\n");
  auto removed = apply(step_of(ActionKind::kDelete));
  ASSERT_TRUE(removed);
  EXPECT_EQ(*removed, StepResult::kRemoved);
  EXPECT_FALSE(profile_has("configs/app_eks.yaml"));
  EXPECT_TRUE(profile_has("configs/app.yaml"));

  auto absent = apply(step_of(ActionKind::kDelete));
  ASSERT_TRUE(absent);
  EXPECT_EQ(*absent, StepResult::kRemoved);

  auto by_file = apply(step_of(ActionKind::kDelete), true);
  ASSERT_TRUE(by_file);
  EXPECT_FALSE(profile_has("configs/app.yaml"));
}

TEST_F(ApplyStep, MergeTouchesNothing) {
  content("configs/app_eks.yaml", "merged\n");
  profile_file("configs/app_eks.yaml", "old\n");
  auto result = apply(step_of(ActionKind::kMerge));
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().source->code, "UpgradeError::5354");
  EXPECT_EQ(result.error().source->qv_error.message(),
            "The upgrade to '1.1' asks to merge 'configs/app.yaml', but the merge action is not implemented yet.");
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(profile_text("configs/app_eks.yaml"), "old\n");
}

TEST_F(ApplyStep, ModifyAlwaysWritesBack) {
  struct Case {
    std::string name;
    std::vector<Operation> changes;
    StepResult result;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"no operations", {}, StepResult::kUnchanged, "a: old # keep\n"},
      {"no operation fires",
       {text_op("absent", "x"), text_op("missing", "y")},
       StepResult::kUnchanged,
       "a: old # keep\n"},
      {"one of two fires", {text_op("absent", "x"), text_op("old", "new")}, StepResult::kWritten, "a: new # keep\n"},
      {"each sees the text before it",
       {text_op("old", "mid"), text_op("mid", "new")},
       StepResult::kWritten,
       "a: new # keep\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    profile_file("configs/app_eks.yaml", "a: old # keep\n");
    auto result = apply(step_of(ActionKind::kModify, "app_eks.yaml", c.changes));
    ASSERT_TRUE(result) << result.error().debug();
    EXPECT_EQ(*result, c.result);
    EXPECT_EQ(calls(), (std::vector<std::string>{"read", "write " + c.text}));
    EXPECT_EQ(profile_text("configs/app_eks.yaml"), c.text);
  }
}

TEST_F(ApplyStep, ModifyByFileEditsTheVariantFreeFile) {
  profile_file("configs/app.yaml", "a: old\n");
  profile_file("configs/app_eks.yaml", "a: old\n");
  auto result = apply(step_of(ActionKind::kModify, "app_eks.yaml", {text_op("old", "new")}), true);
  ASSERT_TRUE(result) << result.error().debug();
  EXPECT_EQ(profile_text("configs/app.yaml"), "a: new\n");
  EXPECT_EQ(profile_text("configs/app_eks.yaml"), "a: old\n");
}

TEST_F(ApplyStep, ModifyOfAnAbsentFile) {
  profile_file("configs/app.yaml", "a: 1\n");
  auto result = apply(step_of(ActionKind::kModify, "app_eks.yaml", {text_op("a", "b")}));
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().source->code, "UpgradeError::5348");
  EXPECT_EQ(result.error().source->qv_error.message(),
            "The upgrade to '1.1' modifies 'configs/app.yaml', but its configmap '" +
                (kprofile() / "configs" / "app_eks.yaml").string() + "' does not exist.");
  EXPECT_EQ(calls(), std::vector<std::string>{"read"});
  EXPECT_FALSE(profile_has("configs/app_eks.yaml"));
}

TEST_F(ApplyStep, FailingOperationLeavesTheFile) {
  profile_file("configs/app_eks.yaml", "a: old\n");
  auto result = apply(step_of(ActionKind::kModify, "app_eks.yaml", {text_op("old", "new"), text_op("(", "x")}));
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().source->code, "UpgradeError::5352");
  EXPECT_EQ(calls(), std::vector<std::string>{"read"});
  EXPECT_EQ(profile_text("configs/app_eks.yaml"), "a: old\n");
}

TEST_F(ApplyStep, FolderAtTheStepsPath) {
  folder_.make_folder("kprofile/configs/app_eks.yaml");
  auto read = apply(step_of(ActionKind::kModify, "app_eks.yaml", {}));
  ASSERT_FALSE(read);
  EXPECT_EQ(read.error().source->code, "UpgradeError::5356");
  auto removed = apply(step_of(ActionKind::kDelete));
  ASSERT_FALSE(removed);
  EXPECT_EQ(removed.error().source->code, "UpgradeError::5357");
  EXPECT_TRUE(fs::is_directory(kprofile() / "configs/app_eks.yaml"));
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
