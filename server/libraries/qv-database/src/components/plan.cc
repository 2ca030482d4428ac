#include "components/plan.h"

namespace components::plan {

UpgradeAction plan_upgrade(std::optional<Version> stored, Version catalog) {
  if (!stored) return Install{catalog};
  if (*stored == catalog) return UpToDate{};
  if (*stored > catalog) return Ahead{*stored};
  Migrate migrate;
  for (Version target = *stored + 1; target <= catalog; ++target) migrate.targets.push_back(target);
  return migrate;
}

}  // namespace components::plan
