#include "runtime/instance/upgrade/plan.h"

#include <array>

#include "runtime/instance/profile/bundle.h"
#include "runtime/instance/upgrade/inventory/family.h"

namespace runtime::instance::upgrade::plan {
namespace {

namespace bundle = profile::bundle;

spec::FamilyMap family_map(const spec::Spec& spec, std::string_view family) {
  if (family == "assets") return spec.assets;
  if (family == "pods") return spec.pods;
  spec::FamilyMap configs = spec.configs;
  for (const auto& [group, variants] : spec.resolved.configs) configs.insert_or_assign(group, variants);
  return configs;
}

}  // namespace

std::vector<Step> provider_steps(const spec::Spec& spec, provider::ClusterProvider provider) {
  const std::array<std::string_view, 1> wanted = {provider::as_str(provider)};
  std::vector<Step> steps;
  for (std::string_view family : inventory::kFamilies) {
    for (const auto& [group, variants] : family_map(spec, family)) {
      if (family == "configs" && group.ends_with(".schema.yaml")) continue;
      std::vector<bundle::ParsedFileName> candidates;
      std::vector<const std::pair<const std::string, spec::Action>*> entries;
      for (const auto& entry : variants) {
        candidates.push_back(bundle::parse_filename(entry.first));
        entries.push_back(&entry);
      }
      const auto winner = bundle::pick_winner(candidates, wanted);
      if (!winner) continue;
      const auto& [variant, action] = *entries[*winner];
      steps.push_back(Step{std::string(family) + "/" + group, group, variant, action, family});
    }
  }
  return steps;
}

}  // namespace runtime::instance::upgrade::plan
