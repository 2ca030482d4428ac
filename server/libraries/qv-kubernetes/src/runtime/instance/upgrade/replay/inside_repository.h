#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "core/system/exit.h"
#include "platform/inside.h"
#include "result.h"
#include "runtime/instance/upgrade/plan.h"
#include "runtime/instance/upgrade/replay/sources.h"

// A repository's content is whoever proposed it: before the repository
// commands read a file or a folder of it, these checks refuse one that a link
// leads out of the repository, each with the error of what it would have read.
namespace runtime::instance::upgrade::replay {

using Checked = qv_common::Result<void, core::system::exit::CommandError>;

// Refuses `path` when a link leads it out of `bound`, with the error that
// `refused` makes of the cause.
template <typename Refused>
Checked check_inside(const std::filesystem::path& path, const std::filesystem::path& bound, Refused refused) {
  if (auto inside = platform::check_inside(path, bound); !inside) return qv_common::fail(refused(inside.error()));
  return {};
}

// The inventory "upgrades.yaml" and the specs folder "upgrades".
Checked check_upgrade_tree(const Sources& sources);

// The spec of `version`.
Checked check_spec(const Sources& sources, std::string_view version);
// The content files that the steps of `version` write.
Checked check_contents(const Sources& sources, std::string_view version, const std::vector<plan::Step>& steps);

// The family folders of the kprofile folder `kprofile`, which must lie in `bound`.
Checked check_kprofile(const std::filesystem::path& kprofile, const std::filesystem::path& bound);

}  // namespace runtime::instance::upgrade::replay
