#include "runtime/instance/upgrade/offline/offline.h"


#include <algorithm>
#include <map>
#include <optional>

#include "runtime/instance/upgrade/apply/apply_step.h"
#include "runtime/instance/upgrade/catalog.h"
#include "runtime/instance/upgrade/inventory/family.h"
#include "runtime/instance/upgrade/offline/bundle_variants.h"
#include "runtime/instance/upgrade/store.h"

namespace runtime::instance::upgrade::offline {
namespace {

namespace fs = std::filesystem;
using spec::ActionKind;

const spec::FamilyMap& family_map(const spec::Spec& spec, std::string_view family) {
  if (family == "assets") return spec.assets;
  if (family == "configs") return spec.configs;
  return spec.pods;
}


// The variants of each group in one family folder, listed once, when the
// first entry needs the search. Planning writes nothing, so one listing
// serves every entry of the family; once it is there, a variant it lacks is
// known to be absent without looking at the file.
class FamilyListing {
 public:
  explicit FamilyListing(fs::path folder) : folder_(std::move(folder)) {}

  // The files one entry acts on.
  std::vector<std::string> files_of_entry(const std::string& group, const std::string& variant, ActionKind kind) {
    const bool searches = kind == ActionKind::kDelete || kind == ActionKind::kModify;
    if (!searches) return {variant};
    std::error_code error;
    if (!(groups_ && !lists(group, variant)) && fs::exists(folder_ / variant, error)) return {variant};
    if (!groups_) groups_ = variants_by_group(folder_);
    const auto found = groups_->find(group);
    if (found == groups_->end()) return {};
    std::vector<std::string> names = found->second;
    std::stable_sort(names.begin(), names.end());
    return names;
  }

 private:
  // A variant lies in the listing under its group, the variant-free name
  // that the spec check holds it to.
  bool lists(const std::string& group, const std::string& variant) const {
    const auto found = groups_->find(group);
    return found != groups_->end() &&
           std::find(found->second.begin(), found->second.end(), variant) != found->second.end();
  }

  fs::path folder_;
  std::optional<std::map<std::string, std::vector<std::string>, std::less<>>> groups_;
};

}  // namespace

std::vector<plan::Step> plan_steps(const spec::Spec& spec, const fs::path& kprofile) {
  std::vector<plan::Step> steps;
  for (std::string_view family : inventory::kFamilies) {
    FamilyListing listing(kprofile / family);
    for (const auto& [group, variants] : family_map(spec, family)) {
      for (const auto& [variant, action] : variants) {
        for (std::string& name : listing.files_of_entry(group, variant, action.kind)) {
          steps.push_back(plan::Step{std::string(family) + "/" + group, group, std::move(name), action, family});
        }
      }
    }
  }
  return steps;
}

qv_common::Result<UpgradeReport, core::system::exit::CommandError> upgrade_kprofile(const fs::path& kupgrade,
                                                                                    const fs::path& kprofile,
                                                                                    std::string_view version) {
  QV_ASSIGN_OR_RETURN(const spec::Spec spec, catalog::load_spec(kupgrade, version));
  const std::vector<plan::Step> steps = plan_steps(spec, kprofile);
  store::FolderStore store(kprofile, false);
  apply::PatternCache patterns;
  apply::WorkBudget work;
  const apply::EditContext edits{patterns, work};
  UpgradeReport report{std::string(version), {}};
  report.steps.reserve(steps.size());
  for (const plan::Step& step : steps) {
    QV_ASSIGN_OR_RETURN(const apply::StepResult result, apply::apply_step(store, kupgrade, version, step, edits));
    report.steps.push_back(Outcome{std::string(step.family), step.file, step.variant, std::string(step.action.name()),
                                   result != apply::StepResult::kUnchanged});
  }
  return report;
}

}  // namespace runtime::instance::upgrade::offline
