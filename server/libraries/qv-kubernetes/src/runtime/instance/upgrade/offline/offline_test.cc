#include "runtime/instance/upgrade/offline/offline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "backtrace_environment.h"
#include "platform/text_file.h"
#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::offline {
namespace {

namespace fs = std::filesystem;
using qv_error::testing_support::BacktraceEnvironment;
using spec::ActionKind;

// A planned step as "family variant action", with its entry and file checked
// against the group.
using Planned = std::vector<std::string>;

Planned planned(const std::vector<plan::Step>& steps) {
  Planned out;
  for (const plan::Step& step : steps) {
    EXPECT_EQ(step.entry, std::string(step.family) + "/" + step.file);
    out.push_back(std::string(step.family) + " " + step.file + " " + step.variant + " " +
                  std::string(step.action.name()));
  }
  return out;
}

spec::Action action(ActionKind kind) { return spec::Action{kind, {}}; }

TEST(PlanSteps, WalksFamiliesGroupsAndVariantsInOrder) {
  const test_support::TempFolder kprofile;
  spec::Spec spec;
  spec.pods["a.yaml"]["a.yaml"] = action(ActionKind::kRetain);
  spec.configs["b.yaml"]["b_eks.yaml"] = action(ActionKind::kCreate);
  spec.configs["b.yaml"]["b.yaml"] = action(ActionKind::kReplace);
  spec.configs["B.yaml"]["B.yaml"] = action(ActionKind::kMerge);
  spec.configs["a.yaml"]["a_Eks.yaml"] = action(ActionKind::kRetain);
  spec.configs["a.yaml"]["a_aks.yaml"] = action(ActionKind::kRetain);
  spec.assets["z.yaml"]["z.yaml"] = action(ActionKind::kRetain);
  spec.resolved.configs["a.yaml"]["a.yaml"] = action(ActionKind::kRetain);

  EXPECT_EQ(planned(plan_steps(spec, kprofile.path())),
            (Planned{"assets z.yaml z.yaml retain", "configs B.yaml B.yaml merge", "configs a.yaml a_Eks.yaml retain",
                     "configs a.yaml a_aks.yaml retain", "configs b.yaml b.yaml replace",
                     "configs b.yaml b_eks.yaml create", "pods a.yaml a.yaml retain"}));
}

TEST(PlanSteps, DeleteAndModifyOfAnAbsentFileActOnItsVariants) {
  const test_support::TempFolder kprofile;
  for (const char* name :
       {"app_eks.yaml", "app_\xC3\xA9.yaml", "app_aks.yaml", "app_AKS.yaml", "app.yml", "web_eks.yaml", "App.yaml"}) {
    kprofile.write(fs::path("configs") / name);
  }
  kprofile.write("pods/w.yaml");
  kprofile.write("pods/w_eks.yaml");
  spec::Spec spec;
  spec.configs["app.yaml"]["app.yaml"] = action(ActionKind::kDelete);
  spec.configs["web.yaml"]["web_gke.yaml"] = spec::Action{ActionKind::kModify, {}};
  spec.configs["none.yaml"]["none.yaml"] = action(ActionKind::kDelete);
  spec.assets["app.yaml"]["app.yaml"] = action(ActionKind::kDelete);
  // A named file that exists is the only one acted on.
  spec.pods["w.yaml"]["w.yaml"] = action(ActionKind::kModify);

  EXPECT_EQ(planned(plan_steps(spec, kprofile.path())),
            (Planned{"configs app.yaml app_AKS.yaml delete", "configs app.yaml app_aks.yaml delete",
                     "configs app.yaml app_eks.yaml delete", "configs app.yaml app_\xC3\xA9.yaml delete",
                     "configs web.yaml web_eks.yaml modify", "pods w.yaml w.yaml modify"}));
}

TEST(PlanSteps, OtherActionsKeepTheNamedFile) {
  const test_support::TempFolder kprofile;
  kprofile.write("configs/app_eks.yaml");
  spec::Spec spec;
  for (ActionKind kind : {ActionKind::kRetain, ActionKind::kCreate, ActionKind::kReplace, ActionKind::kMerge}) {
    spec.configs["app.yaml"]["app.yaml"] = action(kind);
    EXPECT_EQ(planned(plan_steps(spec, kprofile.path())),
              (Planned{"configs app.yaml app.yaml " + std::string(action(kind).name())}));
  }
  // A family folder that does not exist: a create is planned, a delete finds nothing.
  spec::Spec missing_family;
  missing_family.assets["a.yaml"]["a.yaml"] = action(ActionKind::kCreate);
  missing_family.assets["b.yaml"]["b.yaml"] = action(ActionKind::kDelete);
  missing_family.pods["b.yaml"]["b.yaml"] = action(ActionKind::kModify);
  EXPECT_EQ(planned(plan_steps(missing_family, kprofile.path())), (Planned{"assets a.yaml a.yaml create"}));
}

TEST(PlanSteps, StepsCopyTheAction) {
  const test_support::TempFolder kprofile;
  kprofile.write("configs/app_eks.yaml");
  spec::Spec spec;
  spec.configs["app.yaml"]["app.yaml"] = spec::Action{
      ActionKind::kModify, {spec::Operation{spec::RemoveLeafIf{"a.b"}}, spec::Operation{spec::RemoveLeafIf{"c"}}}};
  const std::vector<plan::Step> steps = plan_steps(spec, kprofile.path());
  spec.configs.clear();
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].entry, "configs/app.yaml");
  EXPECT_EQ(steps[0].file, "app.yaml");
  EXPECT_EQ(steps[0].variant, "app_eks.yaml");
  EXPECT_EQ(steps[0].family, "configs");
  EXPECT_EQ(steps[0].action.kind, ActionKind::kModify);
  ASSERT_EQ(steps[0].action.changes.size(), 2u);
  EXPECT_EQ(std::get<spec::RemoveLeafIf>(steps[0].action.changes[1].kind).leaf, "c");
}

// An upgrade tree with the spec of version 1.1 and a kprofile folder.
class UpgradeKprofile : public testing::Test {
 protected:
  void spec(std::string_view text) const { folder_.write("kupgrade/upgrades/1.1.yaml", text); }
  void content(const std::string& relative, std::string_view text) const {
    folder_.write(fs::path("kupgrade/upgrades/1.1") / relative, text);
  }
  void profile_file(const std::string& relative, std::string_view text = "a: 1\n") const {
    folder_.write(fs::path("kprofile") / relative, text);
  }
  std::string profile_text(const std::string& relative) const {
    return platform::read_text(folder_.path() / "kprofile" / relative).value();
  }
  bool profile_has(const std::string& relative) const { return fs::exists(folder_.path() / "kprofile" / relative); }
  auto upgrade() const { return upgrade_kprofile(folder_.path() / "kupgrade", folder_.path() / "kprofile", "1.1"); }

  BacktraceEnvironment environment_{"0", std::nullopt};
  test_support::TempFolder folder_;
};

// An outcome as "family file variant action changed".
std::vector<std::string> outcomes(const UpgradeReport& report) {
  std::vector<std::string> out;
  for (const Outcome& o : report.steps) {
    out.push_back(o.family + " " + o.file + " " + o.variant + " " + o.action + " " + (o.changed ? "true" : "false"));
  }
  return out;
}

TEST_F(UpgradeKprofile, ReportsEveryAction) {
  spec(R"(schema: 1
assets:
  logo.svg:
    logo.svg: {action: create}
configs:
  app.yaml:
    app.yaml: {action: retain}
    app_eks.yaml: {action: modify, changes: [{op: modify-text-if, pattern: old, replacement: new}]}
    app_gke.yaml: {action: modify, changes: [{op: modify-text-if, pattern: absent, replacement: x}]}
  db.yaml:
    db.yaml: {action: replace}
pods:
  old.yaml:
    old.yaml: {action: delete}
)");
  content("assets/logo.svg", "<svg/>\n");
  content("configs/db.yaml", "db: 2\n");
  profile_file("configs/app_eks.yaml", "v: old\n");
  profile_file("configs/app_gke.yaml", "v: old\n");
  profile_file("configs/db.yaml", "db: 1\n");
  profile_file("pods/old.yaml");

  auto report = upgrade();
  ASSERT_TRUE(report) << report.error().debug();
  EXPECT_EQ(report->version, "1.1");
  EXPECT_EQ(outcomes(*report),
            (std::vector<std::string>{"assets logo.svg logo.svg create true", "configs app.yaml app.yaml retain false",
                                      "configs app.yaml app_eks.yaml modify true",
                                      "configs app.yaml app_gke.yaml modify false",
                                      "configs db.yaml db.yaml replace true", "pods old.yaml old.yaml delete true"}));
  EXPECT_EQ(profile_text("assets/logo.svg"), "<svg/>\n");
  EXPECT_FALSE(profile_has("configs/app.yaml"));
  EXPECT_EQ(profile_text("configs/app_eks.yaml"), "v: new\n");
  EXPECT_EQ(profile_text("configs/app_gke.yaml"), "v: old\n");
  EXPECT_EQ(profile_text("configs/db.yaml"), "db: 2\n");
  EXPECT_FALSE(profile_has("pods/old.yaml"));
}

TEST_F(UpgradeKprofile, EntriesWithoutFilesPlanNothing) {
  spec(
      "schema: 1\nconfigs:\n  gone.yaml:\n    gone.yaml: {action: delete}\n    gone_eks.yaml: {action: modify, "
      "changes: []}\n");
  profile_file("configs/other.yaml");
  auto report = upgrade();
  ASSERT_TRUE(report) << report.error().debug();
  EXPECT_EQ(report->version, "1.1");
  EXPECT_TRUE(report->steps.empty());
}

TEST_F(UpgradeKprofile, StepsOnOneFileRunInPlanOrder) {
  // The delete of the absent app.yaml expands to app_eks.yaml, which the
  // delete of app_eks.yaml then finds already removed.
  spec("schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\n    app_eks.yaml: {action: delete}\n");
  profile_file("configs/app_eks.yaml");
  auto report = upgrade();
  ASSERT_TRUE(report) << report.error().debug();
  EXPECT_EQ(outcomes(*report), (std::vector<std::string>{"configs app.yaml app_eks.yaml delete true",
                                                         "configs app.yaml app_eks.yaml delete true"}));
  EXPECT_FALSE(profile_has("configs/app_eks.yaml"));
}

TEST_F(UpgradeKprofile, ModifyAfterDeleteOfTheSameFileFails) {
  spec(
      "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\n    app_eks.yaml: {action: modify, "
      "changes: []}\n");
  profile_file("configs/app_eks.yaml");
  auto report = upgrade();
  ASSERT_FALSE(report);
  EXPECT_EQ(report.error().source->code, "UpgradeError::5348");
  EXPECT_EQ(report.error().source->qv_error.message(),
            "The upgrade to '1.1' modifies 'configs/app.yaml', but its configmap '" +
                (folder_.path() / "kprofile" / "configs" / "app_eks.yaml").string() + "' does not exist.");
  EXPECT_FALSE(profile_has("configs/app_eks.yaml"));
}

TEST_F(UpgradeKprofile, FilesCreatedDuringTheRunAreNotSearched) {
  spec("schema: 1\nconfigs:\n  app.yaml:\n    app_aks.yaml: {action: create}\n    app_gke.yaml: {action: delete}\n");
  content("configs/app_aks.yaml", "aks\n");
  profile_file("configs/app_eks.yaml");
  auto report = upgrade();
  ASSERT_TRUE(report) << report.error().debug();
  EXPECT_EQ(outcomes(*report), (std::vector<std::string>{"configs app.yaml app_aks.yaml create true",
                                                         "configs app.yaml app_eks.yaml delete true"}));
  EXPECT_EQ(profile_text("configs/app_aks.yaml"), "aks\n");
  EXPECT_FALSE(profile_has("configs/app_eks.yaml"));
}

TEST_F(UpgradeKprofile, CreateIntoAMissingFamilyAndRetainOfAnAbsentFile) {
  spec("schema: 1\npods:\n  w.yaml:\n    w.yaml: {action: create}\n    w_eks.yaml: {action: retain}\n");
  content("pods/w.yaml", "w\n");
  profile_file("configs/a.yaml");
  auto report = upgrade();
  ASSERT_TRUE(report) << report.error().debug();
  EXPECT_EQ(outcomes(*report),
            (std::vector<std::string>{"pods w.yaml w.yaml create true", "pods w.yaml w_eks.yaml retain false"}));
  EXPECT_EQ(profile_text("pods/w.yaml"), "w\n");
  EXPECT_FALSE(profile_has("pods/w_eks.yaml"));
}

TEST_F(UpgradeKprofile, MergeFailsAfterEarlierStepsStayApplied) {
  spec(
      "schema: 1\nassets:\n  a.yaml:\n    a.yaml: {action: delete}\nconfigs:\n  c.yaml:\n    c.yaml: {action: "
      "merge}\npods:\n  p.yaml:\n    p.yaml: {action: delete}\n");
  content("configs/c.yaml", "merged\n");
  profile_file("assets/a.yaml");
  profile_file("configs/c.yaml", "c: old\n");
  profile_file("pods/p.yaml");
  auto report = upgrade();
  ASSERT_FALSE(report);
  EXPECT_EQ(report.error().source->code, "UpgradeError::5354");
  EXPECT_FALSE(profile_has("assets/a.yaml"));
  EXPECT_EQ(profile_text("configs/c.yaml"), "c: old\n");
  EXPECT_TRUE(profile_has("pods/p.yaml"));
}

TEST_F(UpgradeKprofile, ResolvedSectionHasNoEffectAndSchemaGroupsAreKept) {
  spec(R"(schema: 1
configs:
  app.schema.yaml:
    app.schema.yaml: {action: delete}
resolved:
  configs:
    app.yaml:
      app.yaml: {action: modify, changes: [{op: modify-text-if, pattern: old, replacement: new}]}
)");
  profile_file("configs/app.yaml", "v: old\n");
  profile_file("configs/app.schema.yaml");
  auto report = upgrade();
  ASSERT_TRUE(report) << report.error().debug();
  EXPECT_EQ(outcomes(*report), (std::vector<std::string>{"configs app.schema.yaml app.schema.yaml delete true"}));
  EXPECT_EQ(profile_text("configs/app.yaml"), "v: old\n");
  EXPECT_FALSE(profile_has("configs/app.schema.yaml"));
}

TEST_F(UpgradeKprofile, SpecFailureTouchesNothing) {
  spec("schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\n");
  content("configs/app.yaml", "orphan\n");
  profile_file("configs/app.yaml");
  auto report = upgrade();
  ASSERT_FALSE(report);
  EXPECT_EQ(report.error().source->code, "UpgradeError::5344");
  EXPECT_TRUE(profile_has("configs/app.yaml"));
}

}  // namespace
}  // namespace runtime::instance::upgrade::offline
