#include "runtime/instance/upgrade/replay/replay.h"

#include <algorithm>

#include "base/error/upgrade.h"
#include "platform/inside.h"
#include "platform/temp_dir.h"
#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/apply/apply_step.h"
#include "runtime/instance/upgrade/catalog.h"
#include "runtime/instance/upgrade/plan.h"
#include "runtime/instance/upgrade/replay/files.h"
#include "runtime/instance/upgrade/replay/materialize.h"
#include "runtime/instance/upgrade/store.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using base::error::UpgradeError;
using core::system::exit::CommandError;
using provider::ClusterProvider;
using qv_common::fail;

// Two YAML documents compare by value, anything else by its uncommented lines.
bool same_content(std::string_view name, const std::string& a, const std::string& b) {
  if (a == b) return true;
  if (name.ends_with(".yaml")) {
    const qv_yaml::ParseOptions options{.reject_duplicate_keys = true, .empty_is_null = true};
    auto left = qv_yaml::parse_single(a, options);
    auto right = left ? qv_yaml::parse_single(b, options) : left;
    if (left && right) return *left == *right;
  }
  return uncommented(a) == uncommented(b);
}

qv_common::Result<void, CommandError> apply_upgrader(const Sources& sources, ClusterProvider provider,
                                                     std::string_view version, store::Store& store,
                                                     apply::WorkBudget& work) {
  // The spec and its content files come from the repository: nothing of
  // them is read from outside it.
  const platform::Containment reads(sources.kupgrade_bound());
  QV_ASSIGN_OR_RETURN(const spec::Spec spec, catalog::load_spec(sources.kupgrade, version, reads));
  const std::vector<plan::Step> steps = plan::provider_steps(spec, provider);
  apply::PatternCache patterns;
  const apply::EditContext edits{patterns, work};
  for (const plan::Step& step : steps) {
    QV_RETURN_IF_ERROR(apply::apply_step(store, sources.kupgrade, version, step, edits, reads));
  }
  return {};
}

}  // namespace

std::vector<Mismatch> compare(const fs::path& upgraded, const fs::path& released, ClusterProvider provider,
                              std::string_view version) {
  std::vector<Mismatch> mismatches;
  for (std::string_view section : template_sections) {
    const std::set<std::string> ours = files_of(upgraded / section);
    const std::set<std::string> theirs = files_of(released / section);
    std::vector<std::string> names;
    std::set_union(ours.begin(), ours.end(), theirs.begin(), theirs.end(), std::back_inserter(names));
    for (const std::string& name : names) {
      std::string_view reason;
      if (!theirs.contains(name)) {
        reason = kLeftOver;
      } else if (!ours.contains(name)) {
        reason = kMissing;
      } else if (!same_content(name, read(upgraded / section / name), read(released / section / name))) {
        reason = kDiffers;
      } else {
        continue;
      }
      mismatches.push_back(Mismatch{provider, std::string(version), std::string(section) + "/" + name, reason});
    }
  }
  return mismatches;
}

qv_common::Result<std::vector<Mismatch>, CommandError> replay(const Sources& sources, const Templates& templates,
                                                              ClusterProvider provider, const fs::path& scratch,
                                                              const std::optional<fs::path>& diverged,
                                                              apply::WorkBudget& work) {
  const auto& releases = templates.releases;
  const auto first = std::find_if(releases.begin(), releases.end(),
                                  [&](const Release& release) { return release.serves(provider); });
  if (first == releases.end()) return std::vector<Mismatch>{{provider, templates.newest, "", kServedByNone}};

  QV_RETURN_IF_ERROR(reset(templates.folder_of(first->entry.version, provider), scratch));
  store::FolderStore store(scratch, true);
  std::vector<Mismatch> mismatches;
  for (auto hop = std::next(first); hop != releases.end(); ++hop) {
    const std::string& version = hop->entry.version;
    if (hop->entry.upgrader) QV_RETURN_IF_ERROR(apply_upgrader(sources, provider, version, store, work));
    if (!hop->serves(provider)) {
      mismatches.push_back(Mismatch{provider, version, "", kNoLongerServed});
      break;
    }
    const fs::path released = templates.folder_of(version, provider);
    std::vector<Mismatch> found = compare(scratch, released, provider, version);
    if (found.empty()) continue;
    mismatches.insert(mismatches.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    if (diverged) QV_RETURN_IF_ERROR(reset(scratch, *diverged / provider::as_str(provider) / version));
    QV_RETURN_IF_ERROR(reset(released, scratch));
  }
  return mismatches;
}

qv_common::Result<std::vector<Mismatch>, CommandError> replay_all(const Sources& sources, const Templates& templates,
                                                                  const std::optional<fs::path>& diverged) {
  std::vector<Mismatch> mismatches;
  // Every operation of every hop of every provider draws on one budget.
  apply::WorkBudget work;
  for (ClusterProvider provider : kReplayedProviders) {
    auto scratch = platform::TempDir::create();
    if (!scratch) {
      return fail(UpgradeError::OfflineTargetWriteFailed(platform::system_temp_folder(), scratch.error()));
    }
    QV_ASSIGN_OR_RETURN(std::vector<Mismatch> found, replay(sources, templates, provider, scratch->path(), diverged, work));
    mismatches.insert(mismatches.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
  }
  return mismatches;
}

}  // namespace runtime::instance::upgrade::replay
