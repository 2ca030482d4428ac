#include "runtime/instance/upgrade/replay/digests_run.h"

#include <set>
#include <utility>

#include "base/error/upgrade.h"
#include "platform/inside.h"
#include "platform/utf8.h"
#include "runtime/instance/upgrade/replay/digests.h"
#include "runtime/instance/upgrade/replay/files.h"
#include "runtime/instance/upgrade/replay/replay.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using base::error::UpgradeError;
using core::system::exit::CommandError;
using provider::ClusterProvider;

// The document as recorded, read only from inside the repository.
qv_common::Result<Digests, CommandError> read_recorded(const Sources& sources) {
  return read_digests(sources.digests(), platform::Containment(sources.root));
}

// Records the document in a configuration folder that lies in the repository.
qv_common::Result<void, CommandError> write_recorded(const Sources& sources, const Digests& digests) {
  if (auto inside = platform::check_inside(sources.config, sources.root); !inside) {
    return qv_common::fail(UpgradeError::DigestsWriteFailed(platform::display(sources.digests()), inside.error()));
  }
  return write_digests(sources.digests(), digests);
}

const std::string* recorded_digest(const Digests& digests, const std::string& version, ClusterProvider provider) {
  const auto found = digests.versions.find(version);
  if (found == digests.versions.end()) return nullptr;
  const auto digest = found->second.find(std::string(provider::as_str(provider)));
  return digest == found->second.end() ? nullptr : &digest->second;
}

// Adds the digests that the document lacks; returns how many.
qv_common::Result<std::uint64_t, CommandError> record_missing(const Sources& sources, const Templates& templates) {
  QV_ASSIGN_OR_RETURN(Digests digests, read_recorded(sources));
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
  if (added > 0) QV_RETURN_IF_ERROR(write_recorded(sources, digests));
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
  QV_ASSIGN_OR_RETURN(const Digests digests, read_recorded(sources));

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
