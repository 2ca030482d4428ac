#include "runtime/instance/upgrade/replay/digests_run.h"

#include <set>
#include <utility>

#include "runtime/instance/upgrade/replay/digests.h"
#include "runtime/instance/upgrade/replay/files.h"
#include "runtime/instance/upgrade/replay/replay.h"

namespace runtime::instance::upgrade::replay {
namespace {

using core::system::exit::CommandError;
using provider::ClusterProvider;

const std::string* recorded_digest(const Digests& digests, const std::string& version, ClusterProvider provider) {
  const auto found = digests.versions.find(version);
  if (found == digests.versions.end()) return nullptr;
  const auto digest = found->second.find(std::string(provider::as_str(provider)));
  return digest == found->second.end() ? nullptr : &digest->second;
}

// Adds the digests that the document lacks; returns how many.
qv_common::Result<std::uint64_t, CommandError> record_missing(const Sources& sources, const Templates& templates) {
  QV_ASSIGN_OR_RETURN(Digests digests, read_digests(sources.digests()));
  std::uint64_t added = 0;
  for (const Release* release : templates.released()) {
    for (ClusterProvider provider : release->providers) {
      const std::string& version = release->entry.version;
      if (recorded_digest(digests, version, provider) != nullptr) continue;
      digests.versions[version][std::string(provider::as_str(provider))] =
          digest_of(templates.folder_of(version, provider));
      ++added;
    }
  }
  if (added > 0) QV_RETURN_IF_ERROR(write_digests(sources.digests(), digests));
  return added;
}

std::optional<ClusterProvider> replayed_provider(std::string_view name) {
  for (ClusterProvider provider : kReplayedProviders) {
    if (provider::as_str(provider) == name) return provider;
  }
  return std::nullopt;
}

}  // namespace

qv_common::Result<DigestsOutcome, CommandError> check_digests(const Sources& sources, const Templates& templates,
                                                              bool record) {
  DigestsOutcome outcome;
  if (record) {
    QV_ASSIGN_OR_RETURN(outcome.recorded, record_missing(sources, templates));
  }
  QV_ASSIGN_OR_RETURN(const Digests digests, read_digests(sources.digests()));

  std::set<std::pair<std::string, std::string>> released;
  for (const Release* release : templates.released()) {
    for (ClusterProvider provider : release->providers) {
      const std::string& version = release->entry.version;
      released.emplace(version, provider::as_str(provider));
      const std::string digest = digest_of(templates.folder_of(version, provider));
      const std::string* recorded = recorded_digest(digests, version, provider);
      if (recorded == nullptr) {
        outcome.mismatches.push_back(Mismatch{provider, version, "", kNoRecordedDigest});
      } else if (*recorded != digest) {
        outcome.mismatches.push_back(Mismatch{provider, version, "", kResolvesDifferently});
      }
    }
  }
  for (const auto& [version, providers] : digests.versions) {
    for (const auto& entry : providers) {
      const auto provider = replayed_provider(entry.first);
      if (provider && !released.contains({version, entry.first})) {
        outcome.mismatches.push_back(Mismatch{*provider, version, "", kDigestWithoutTemplate});
      }
    }
  }
  return outcome;
}

}  // namespace runtime::instance::upgrade::replay
