#include "runtime/instance/profile/profile.h"

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "platform/utf8.h"
#include "runtime/instance/profile/discovery.h"

namespace runtime::instance::profile {
namespace {

using base::error::ProfileError;

// A kept file: its manifest key (family/stripped) and source (family/name as found).
struct Recorded {
  std::string key;
  std::string source;
};

using GroupKey = std::pair<std::string, std::string>;  // (base, suffix)

bool is_path_character(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// A name that can stand as one component of a profile path. "." and ".." are
// refused too: they would name the folder itself or its parent.
bool is_valid_component(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && std::all_of(name.begin(), name.end(), is_path_character);
}

// The discovered files by (base, suffix), in ascending order; each group keeps listing order.
std::map<GroupKey, std::vector<const DiscoveryFile*>> group_files(const std::vector<DiscoveryFile>& files) {
  std::map<GroupKey, std::vector<const DiscoveryFile*>> groups;
  for (const DiscoveryFile& file : files) groups[{file.parsed.base, file.parsed.suffix}].push_back(&file);
  return groups;
}

// Keeps the variant of each group that serves `provider` in `contents` and records it.
qv_common::Result<void, ProfileError> load_family(const FamilyFolders& folders, std::string_view family,
                                                  std::string_view provider,
                                                  std::map<std::string, std::string>& contents,
                                                  std::vector<Recorded>& recorded) {
  const FamilyFolder& folder = folders.of(family);
  if (!folder.fd) {
    return qv_common::fail(ProfileError::FamilyFolderMissing(std::string(family), platform::display(folder.path)));
  }
  QV_ASSIGN_OR_RETURN(const std::vector<DiscoveryFile> files, discover_family(folder, family));
  const std::string_view wanted[] = {provider};
  for (const auto& [key, group] : group_files(files)) {
    std::vector<bundle::ParsedFileName> candidates;
    for (const DiscoveryFile* file : group) candidates.push_back(file->parsed);
    const std::optional<std::size_t> winner = bundle::pick_winner(candidates, wanted);
    if (!winner) continue;
    std::string stripped = candidates[*winner].render_stripped();
    if (!is_valid_component(stripped)) {
      return qv_common::fail(ProfileError::InvalidPathComponent(std::move(stripped), std::string(family)));
    }
    const DiscoveryFile& file = *group[*winner];
    recorded.push_back({std::string(family) + "/" + stripped, std::string(family) + "/" + file.name});
    contents[std::move(stripped)] = file.content;
  }
  return {};
}

manifest::ManifestEntry make_entry(std::string_view version, std::string source, manifest::Timestamp now) {
  return {std::string(version), std::move(source), {manifest::Stamp{std::string(version), now, true}}, now, false};
}

// One entry per recorded file; of several with the same key the last recorded one stays.
std::map<std::string, manifest::ManifestEntry> build_manifest(std::vector<Recorded> recorded,
                                                              std::string_view version, manifest::Timestamp now) {
  std::stable_sort(recorded.begin(), recorded.end(),
                   [](const Recorded& a, const Recorded& b) { return a.key < b.key; });
  std::map<std::string, manifest::ManifestEntry> entries;
  for (Recorded& file : recorded) {
    entries.insert_or_assign(std::move(file.key), make_entry(version, std::move(file.source), now));
  }
  return entries;
}

}  // namespace

qv_common::Result<Profile, ProfileError> load_profile_from(const std::filesystem::path& root,
                                                           runtime::provider::ClusterProvider provider,
                                                           std::string_view version) {
  QV_ASSIGN_OR_RETURN(const FamilyFolders folders, open_family_folders(root, platform::Containment()));
  return load_profile_from(folders, provider, version);
}

qv_common::Result<Profile, ProfileError> load_profile_from(const FamilyFolders& folders,
                                                           runtime::provider::ClusterProvider provider,
                                                           std::string_view version) {
  const std::string_view name = runtime::provider::as_str(provider);
  Profile profile;
  std::vector<Recorded> recorded;
  QV_RETURN_IF_ERROR(load_family(folders, "pods", name, profile.pods, recorded));
  QV_RETURN_IF_ERROR(load_family(folders, "assets", name, profile.assets, recorded));
  QV_RETURN_IF_ERROR(load_family(folders, "configs", name, profile.configs, recorded));

  const auto now = std::chrono::time_point_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now());
  profile.version = std::string(version);
  profile.manifest = build_manifest(std::move(recorded), version, now);
  profile.created_at = now;
  profile.updated_at = now;
  profile.revision = 1;
  return profile;
}

}  // namespace runtime::instance::profile
