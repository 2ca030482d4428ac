#include "runtime/instance/upgrade/replay/inside_repository.h"

#include "base/error/profile.h"
#include "base/error/upgrade.h"
#include "platform/inside.h"
#include "platform/utf8.h"
#include "runtime/instance/upgrade/catalog.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using base::error::ProfileError;
using base::error::UpgradeError;
using core::system::exit::CommandError;
using qv_common::fail;

bool writes_content(const plan::Step& step) {
  return step.action.kind == spec::ActionKind::kCreate || step.action.kind == spec::ActionKind::kReplace;
}

}  // namespace

Checked check_upgrade_tree(const Sources& sources) {
  const fs::path bound = sources.kupgrade_bound();
  const fs::path inventory = sources.kupgrade / "upgrades.yaml";
  if (auto inside = platform::check_inside(inventory, bound); !inside) {
    return fail(UpgradeError::InventoryReadFailed(platform::display(inventory), inside.error()));
  }
  const fs::path specs = sources.kupgrade / "upgrades";
  if (auto inside = platform::check_inside(specs, bound); !inside) {
    return fail(UpgradeError::SpecsReadFailed(platform::display(specs), inside.error()));
  }
  return {};
}

Checked check_spec(const Sources& sources, std::string_view version) {
  const fs::path spec = catalog::spec_path(sources.kupgrade, version);
  if (auto inside = platform::check_inside(spec, sources.kupgrade_bound()); !inside) {
    return fail(UpgradeError::SpecReadFailed(std::string(version), platform::display(spec), inside.error()));
  }
  return {};
}

Checked check_contents(const Sources& sources, std::string_view version, const std::vector<plan::Step>& steps) {
  const fs::path bound = sources.kupgrade_bound();
  for (const plan::Step& step : steps) {
    if (!writes_content(step)) continue;
    const fs::path content = catalog::content_path(sources.kupgrade, version, step.family, step.variant);
    if (auto inside = platform::check_inside(content, bound); !inside) {
      return fail(UpgradeError::ContentReadFailed(std::string(version), platform::display(content), inside.error()));
    }
  }
  return {};
}

Checked check_kprofile(const fs::path& kprofile, const fs::path& bound) {
  for (std::string_view family : {"configs", "pods", "assets"}) {
    const fs::path folder = kprofile / family;
    if (auto inside = platform::check_inside(folder, bound); !inside) {
      return fail(CommandError(ProfileError::ReadFailed(platform::display(folder), inside.error())));
    }
  }
  return {};
}

}  // namespace runtime::instance::upgrade::replay
