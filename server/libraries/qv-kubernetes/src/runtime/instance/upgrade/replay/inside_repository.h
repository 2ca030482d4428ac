#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "core/system/exit.h"
#include "result.h"
#include "runtime/instance/upgrade/plan.h"
#include "runtime/instance/upgrade/replay/sources.h"

// A repository's content is whoever proposed it: before the repository
// commands read a file or a folder of it, these checks refuse one that a link
// leads out of the repository, each with the error of what it would have read.
namespace runtime::instance::upgrade::replay {

using Checked = qv_common::Result<void, core::system::exit::CommandError>;

// The inventory "upgrades.yaml" and the specs folder "upgrades".
Checked check_upgrade_tree(const Sources& sources);

// The spec of `version`.
Checked check_spec(const Sources& sources, std::string_view version);
// The content files that the steps of `version` write.
Checked check_contents(const Sources& sources, std::string_view version, const std::vector<plan::Step>& steps);

// The family folders of the kprofile folder `kprofile`, which must lie in `bound`.
Checked check_kprofile(const std::filesystem::path& kprofile, const std::filesystem::path& bound);

}  // namespace runtime::instance::upgrade::replay
