#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "core/system/exit.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/work_budget.h"
#include "runtime/instance/upgrade/replay/mismatch.h"
#include "runtime/instance/upgrade/replay/sources.h"
#include "runtime/instance/upgrade/replay/templates.h"

namespace runtime::instance::upgrade::replay {

// The providers replay and the digests visit, in order.
inline constexpr std::array<provider::ClusterProvider, 4> kReplayedProviders = {
    provider::ClusterProvider::kKminus, provider::ClusterProvider::kEks, provider::ClusterProvider::kAks,
    provider::ClusterProvider::kGke};

// Upgrades each provider's oldest template hop by hop to the newest version
// and compares every hop with the released template. With `diverged`, the
// upgraded state of each diverging hop is kept in <diverged>/<provider>/<version>.
// The edit operations of every hop of every provider share one work budget.
qv_common::Result<std::vector<Mismatch>, core::system::exit::CommandError> replay_all(
    const Sources& sources, const Templates& templates, const std::optional<std::filesystem::path>& diverged);

// The replay of one provider in the given scratch folder; its operations
// draw on `work`.
qv_common::Result<std::vector<Mismatch>, core::system::exit::CommandError> replay(
    const Sources& sources, const Templates& templates, provider::ClusterProvider provider,
    const std::filesystem::path& scratch, const std::optional<std::filesystem::path>& diverged,
    apply::WorkBudget& work);

// The differences between an upgraded folder and a released template.
std::vector<Mismatch> compare(const std::filesystem::path& upgraded, const std::filesystem::path& released,
                              provider::ClusterProvider provider, std::string_view version);

}  // namespace runtime::instance::upgrade::replay
