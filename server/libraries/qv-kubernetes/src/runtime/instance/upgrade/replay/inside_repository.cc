#include "runtime/instance/upgrade/replay/inside_repository.h"

#include "base/error/profile.h"
#include "base/error/upgrade.h"
#include "platform/utf8.h"
#include "runtime/instance/upgrade/catalog.h"
#include "runtime/instance/upgrade/inventory/family.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using base::error::ProfileError;
using base::error::UpgradeError;
using core::system::exit::CommandError;

bool writes_content(const plan::Step& step) {
  return step.action.kind == spec::ActionKind::kCreate || step.action.kind == spec::ActionKind::kReplace;
}

}  // namespace

Checked check_upgrade_tree(const Sources& sources) {
  const fs::path inventory = sources.kupgrade / "upgrades.yaml";
  QV_RETURN_IF_ERROR(check_inside(inventory, sources.kupgrade_bound(), [&](std::string cause) {
    return UpgradeError::InventoryReadFailed(platform::display(inventory), std::move(cause));
  }));
  const fs::path specs = sources.kupgrade / "upgrades";
  return check_inside(specs, sources.kupgrade_bound(), [&](std::string cause) {
    return UpgradeError::SpecsReadFailed(platform::display(specs), std::move(cause));
  });
}

Checked check_spec(const Sources& sources, std::string_view version) {
  const fs::path spec = catalog::spec_path(sources.kupgrade, version);
  return check_inside(spec, sources.kupgrade_bound(), [&](std::string cause) {
    return UpgradeError::SpecReadFailed(std::string(version), platform::display(spec), std::move(cause));
  });
}

Checked check_contents(const Sources& sources, std::string_view version, const std::vector<plan::Step>& steps) {
  for (const plan::Step& step : steps) {
    if (!writes_content(step)) continue;
    const fs::path content = catalog::content_path(sources.kupgrade, version, step.family, step.variant);
    QV_RETURN_IF_ERROR(check_inside(content, sources.kupgrade_bound(), [&](std::string cause) {
      return UpgradeError::ContentReadFailed(std::string(version), platform::display(content), std::move(cause));
    }));
  }
  return {};
}

Checked check_kprofile(const fs::path& kprofile, const fs::path& bound) {
  for (std::string_view family : inventory::kFamilies) {
    const fs::path folder = kprofile / family;
    QV_RETURN_IF_ERROR(check_inside(folder, bound, [&](std::string cause) {
      return CommandError(ProfileError::ReadFailed(platform::display(folder), std::move(cause)));
    }));
  }
  return {};
}

}  // namespace runtime::instance::upgrade::replay
