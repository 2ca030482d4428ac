#include "runtime/instance/upgrade/plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace runtime::instance::upgrade::plan {
namespace {

using provider::ClusterProvider;
using spec::ActionKind;

spec::Action action(ActionKind kind) { return spec::Action{kind, {}}; }

// entry, variant, action name; file and family follow from entry.
std::vector<std::string> described(const std::vector<Step>& steps) {
  std::vector<std::string> lines;
  for (const Step& step : steps) {
    EXPECT_EQ(step.entry, std::string(step.family) + "/" + step.file);
    lines.push_back(step.entry + " " + step.variant + " " + std::string(step.action.name()));
  }
  return lines;
}

TEST(ProviderSteps, WalksFamiliesAndGroupsInOrder) {
  spec::Spec spec;
  spec.pods["web.yaml"]["web.yaml"] = action(ActionKind::kDelete);
  spec.configs["b.yaml"]["b.yaml"] = action(ActionKind::kRetain);
  spec.configs["a.yaml"]["a.yaml"] = action(ActionKind::kCreate);
  spec.assets["logo.txt"]["logo.txt"] = action(ActionKind::kReplace);
  EXPECT_EQ(described(provider_steps(spec, ClusterProvider::kEks)),
            (std::vector<std::string>{"assets/logo.txt logo.txt replace", "configs/a.yaml a.yaml create",
                                      "configs/b.yaml b.yaml retain", "pods/web.yaml web.yaml delete"}));
}

TEST(ProviderSteps, PicksTheVariantThatServesTheProvider) {
  spec::Spec spec;
  spec.configs["app.yaml"]["app.yaml"] = action(ActionKind::kRetain);
  spec.configs["app.yaml"]["app_eks.yaml"] = action(ActionKind::kDelete);
  spec.configs["only.yaml"]["only_aks.yaml"] = action(ActionKind::kCreate);
  spec.configs["many.yaml"]["many_eks_aks.yaml"] = action(ActionKind::kCreate);
  const struct {
    ClusterProvider provider;
    std::vector<std::string> steps;
  } cases[] = {
      {ClusterProvider::kEks, {"configs/app.yaml app_eks.yaml delete"}},
      {ClusterProvider::kAks, {"configs/app.yaml app.yaml retain", "configs/only.yaml only_aks.yaml create"}},
      {ClusterProvider::kGke, {"configs/app.yaml app.yaml retain"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(provider::as_str(c.provider));
    EXPECT_EQ(described(provider_steps(spec, c.provider)), c.steps);
  }
}

TEST(ProviderSteps, ResolvedConfigsGroupReplacesTheConfigsGroupWhole) {
  spec::Spec spec;
  spec.configs["app.yaml"]["app.yaml"] = action(ActionKind::kRetain);
  spec.configs["app.yaml"]["app_eks.yaml"] = action(ActionKind::kDelete);
  spec.resolved.configs["app.yaml"]["app.yaml"] = action(ActionKind::kModify);
  spec.resolved.configs["extra.yaml"]["extra_eks.yaml"] = action(ActionKind::kRetain);
  spec.assets["app.yaml"]["app_eks.yaml"] = action(ActionKind::kDelete);
  EXPECT_EQ(described(provider_steps(spec, ClusterProvider::kEks)),
            (std::vector<std::string>{"assets/app.yaml app_eks.yaml delete", "configs/app.yaml app.yaml modify",
                                      "configs/extra.yaml extra_eks.yaml retain"}));
}

TEST(ProviderSteps, SkipsSchemaGroupsOfTheConfigsFamilyOnly) {
  spec::Spec spec;
  spec.configs["app.schema.yaml"]["app.schema.yaml"] = action(ActionKind::kDelete);
  spec.resolved.configs["other.schema.yaml"]["other.schema.yaml"] = action(ActionKind::kRetain);
  spec.assets["app.schema.yaml"]["app.schema.yaml"] = action(ActionKind::kDelete);
  spec.pods["app.schema.yaml"]["app.schema.yaml"] = action(ActionKind::kDelete);
  spec.configs["app.schema.yml"]["app.schema.yml"] = action(ActionKind::kDelete);
  EXPECT_EQ(described(provider_steps(spec, ClusterProvider::kKminus)),
            (std::vector<std::string>{"assets/app.schema.yaml app.schema.yaml delete",
                                      "configs/app.schema.yml app.schema.yml delete",
                                      "pods/app.schema.yaml app.schema.yaml delete"}));
}

TEST(ProviderSteps, StepCarriesACopyOfTheAction) {
  spec::Spec spec;
  spec.pods["web.yaml"]["web_gke.yaml"] = spec::Action{ActionKind::kModify, {spec::Operation{spec::RemoveLeafIf{"a"}}}};
  const std::vector<Step> steps = provider_steps(spec, ClusterProvider::kGke);
  spec.pods.clear();
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].file, "web.yaml");
  EXPECT_EQ(steps[0].family, "pods");
  EXPECT_EQ(steps[0].action.kind, ActionKind::kModify);
  EXPECT_EQ(steps[0].action.changes.size(), 1u);
}

}  // namespace
}  // namespace runtime::instance::upgrade::plan
