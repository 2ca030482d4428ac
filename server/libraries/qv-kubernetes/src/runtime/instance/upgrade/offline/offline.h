#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/system/exit.h"
#include "result.h"
#include "runtime/instance/upgrade/plan.h"
#include "runtime/instance/upgrade/spec/spec.h"

namespace runtime::instance::upgrade::offline {

// One carried-out step.
struct Outcome {
  std::string family;
  std::string file;
  std::string variant;
  std::string action;
  bool changed = false;
};

// What an upgrade did, in the order the steps ran.
struct UpgradeReport {
  std::string version;
  std::vector<Outcome> steps;
};

// Every step that the spec asks of a kprofile folder, in plan order: the
// families in order, groups and variants in byte order; a delete or modify
// of an absent file acts on every variant of its group that the folder holds.
std::vector<plan::Step> plan_steps(const spec::Spec& spec, const std::filesystem::path& kprofile);

// Applies the upgrader of `version` to the kprofile folder in place. The
// whole plan is made before the first file is touched; a failing step ends
// the upgrade and the steps before it stay applied.
qv_common::Result<UpgradeReport, core::system::exit::CommandError> upgrade_kprofile(
    const std::filesystem::path& kupgrade, const std::filesystem::path& kprofile, std::string_view version);

}  // namespace runtime::instance::upgrade::offline
