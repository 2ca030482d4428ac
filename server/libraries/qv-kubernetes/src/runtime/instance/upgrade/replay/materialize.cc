#include "runtime/instance/upgrade/replay/materialize.h"

#include <sys/stat.h>

#include <array>
#include <set>

#include "base/error/upgrade.h"
#include "platform/entry_names.h"
#include "platform/git.h"
#include "platform/inside.h"
#include "platform/tar_unpack.h"
#include "platform/target_folders.h"
#include "platform/text_file.h"
#include "platform/utf8.h"
#include "runtime/instance/profile/bundle.h"
#include "runtime/instance/profile/family_folders.h"
#include "runtime/instance/profile/profile.h"
#include "runtime/instance/upgrade/inventory/inventory.h"
#include "runtime/instance/upgrade/replay/copy_tree.h"
#include "runtime/instance/upgrade/replay/files.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using base::error::UpgradeError;
using core::system::exit::CommandError;
using provider::ClusterProvider;
using qv_common::fail;
using Done = qv_common::Result<void, CommandError>;

// The kprofile's path inside the repository and inside every tag.
constexpr std::string_view kKprofilePath = "variant/resources/kprofile";

// The providers that templates are made for, in replay order.
constexpr std::array<ClusterProvider, 4> kCandidates = {ClusterProvider::kKminus, ClusterProvider::kEks,
                                                        ClusterProvider::kAks, ClusterProvider::kGke};

// A failed process's standard error, as its cause.
std::string error_text(const platform::ProcessOutput& output) {
  const std::string text = platform::lossy_utf8(output.error);
  const auto first = text.find_first_not_of(" \t\r\n\f\v");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n\f\v");
  return text.substr(first, last - first + 1);
}

// git stores no empty folder, and removes a folder whose last file a patch
// deletes: give an extracted kprofile the family folders its release had.
qv_common::Result<void, std::string> restore_family_folders(const fs::path& folder) {
  std::error_code error;
  for (std::string_view family : {"configs", "pods", "assets"}) {
    fs::create_directories(folder / family, error);
    if (error) return fail(error.message());
  }
  return {};
}

// A release's kprofile is made anew from its tag: files left by an earlier
// run would leak into its templates, and a patch that adds a file would no
// longer apply. A link at the folder or at kprofiles is removed, not followed.
Done extract_kprofile(const Sources& sources, const std::string& version, const fs::path& target) {
  const fs::path folder = target / "kprofiles" / version;
  auto failed = [&](std::string cause) {
    return fail(UpgradeError::TagKprofileReadFailed(platform::display(sources.root), version, std::move(cause)));
  };
  if (auto made = platform::make_real_folders(target, "kprofiles"); !made) return failed(made.error());
  if (auto removed = platform::remove_entry(folder); !removed) return failed(removed.error());
  auto archive =
      platform::run_git({"-C", sources.root.string(), "archive", "--format=tar", version, std::string(kKprofilePath)},
                        std::nullopt);
  if (!archive) return failed(archive.error());
  if (archive->status != 0) return failed(error_text(*archive));
  if (auto unpacked = platform::unpack_tar_prefix(archive->output, kKprofilePath, folder); !unpacked) {
    return failed(unpacked.error());
  }
  std::error_code error;
  if (!fs::is_directory(folder, error)) return {};
  if (auto restored = restore_family_folders(folder); !restored) return failed(restored.error());
  return {};
}

// git apply looks for a repository from its working folder upwards; inside
// another repository's work tree it would skip every patched path outside
// the folder and still succeed. The ceiling stops the search at the folder
// (an empty one, when the folder cannot be made absolute, is ignored).
std::vector<platform::EnvironmentChange> outside_any_repository(const fs::path& folder) {
  std::error_code error;
  const fs::path absolute = fs::absolute(folder, error);
  return {{"GIT_CEILING_DIRECTORIES", absolute.parent_path().string()}};
}

// The release's patch, opened inside the repository; none without one.
qv_common::Result<platform::UniqueFd, std::string> open_patch(const Sources& sources, const fs::path& patch) {
  platform::Opened opened = platform::Containment(sources.root).open(patch, platform::kReadFlags);
  if (!opened && opened.error().missing()) return platform::UniqueFd();
  if (!opened) return fail(std::move(opened).error().cause);
  struct stat status;
  if (::fstat(opened->get(), &status) != 0 || !S_ISREG(status.st_mode)) return fail(std::string("not a regular file"));
  return std::move(*opened);
}

// Outside a repository git apply refuses a patch that touches a path outside
// its working folder (absolute, climbing with "..", or through a link)
// before it writes anything. git reads the patch from the descriptor that
// was opened and checked, never by its path.
Done apply_patch(const Sources& sources, const std::string& version, const fs::path& folder) {
  const fs::path patch = sources.config / "patches" / (version + ".patch");
  auto failed = [&](std::string cause) {
    return fail(UpgradeError::PatchApplyFailed(platform::display(patch), version, std::move(cause)));
  };
  auto opened = open_patch(sources, patch);
  if (!opened) return failed(std::move(opened).error());
  if (!*opened) return {};
  auto applied = platform::run_git({"apply", "-p1"}, folder, outside_any_repository(folder), opened->get());
  if (!applied) return failed(applied.error());
  if (applied->status != 0) return failed(error_text(*applied));
  if (auto restored = restore_family_folders(folder); !restored) return failed(restored.error());
  return {};
}

// The candidates named as a qualifier by an entry directly inside a family folder.
std::vector<ClusterProvider> kprofile_providers(const profile::FamilyFolders& folders) {
  std::set<std::string> qualifiers;
  for (std::string_view family : {"configs", "pods", "assets"}) {
    const profile::FamilyFolder& folder = folders.of(family);
    if (!folder.fd) continue;
    for (const platform::FolderEntry& entry : platform::list_folder(folder.fd).entries) {
      for (std::string& qualifier : profile::bundle::parse_filename(platform::lossy_utf8(entry.name)).qualifiers) {
        qualifiers.insert(std::move(qualifier));
      }
    }
  }
  std::vector<ClusterProvider> served;
  for (ClusterProvider candidate : kCandidates) {
    if (qualifiers.contains(std::string(provider::as_str(candidate)))) served.push_back(candidate);
  }
  return served;
}

// The template folder templates/<version>/<provider> under `target` is
// written anew; links in its way are replaced, never followed.
Done write_template(const profile::Profile& profile, const fs::path& target, const std::string& version,
                    ClusterProvider provider) {
  const fs::path parent = fs::path("templates") / version;
  const fs::path folder = target / parent / provider::as_str(provider);
  auto failed = [&](const std::string& cause) {
    return fail(UpgradeError::OfflineTargetWriteFailed(platform::display(folder), cause));
  };
  if (auto made = platform::make_real_folders(target, parent); !made) return failed(made.error());
  if (auto removed = platform::remove_entry(folder); !removed) return failed(removed.error());
  const std::array<std::pair<std::string_view, const std::map<std::string, std::string>*>, 3> sections = {
      {{"configs", &profile.configs}, {"pods", &profile.pods}, {"assets", &profile.assets}}};
  for (const auto& [section, files] : sections) {
    if (auto made = platform::make_real_folders(folder, section); !made) return failed(made.error());
    const fs::path section_folder = folder / section;
    for (const auto& [name, text] : *files) {
      if (is_binary_provided(name)) continue;
      auto written = platform::write_file(section_folder / name, text, platform::AtLink::kReplace);
      if (!written) return failed(written.error());
    }
  }
  return {};
}

// The working kprofile may lead to folders elsewhere in the repository; an
// extracted one, whose links only a patch can have made, nowhere outside it.
// Its family folders are opened once, for the providers and every load.
qv_common::Result<Release, CommandError> materialize_release(const Sources& sources, const fs::path& target,
                                                             const inventory::InventoryEntry& entry,
                                                             const std::string& newest) {
  fs::path kprofile = sources.kprofile;
  fs::path bound = sources.root;
  if (entry.version != newest) {
    kprofile = bound = target / "kprofiles" / entry.version;
    QV_RETURN_IF_ERROR(extract_kprofile(sources, entry.version, target));
    QV_RETURN_IF_ERROR(apply_patch(sources, entry.version, kprofile));
  }
  auto folders = profile::open_family_folders(kprofile, platform::Containment(bound));
  if (!folders) return fail(CommandError(std::move(folders).error()));
  Release release{entry, kprofile_providers(*folders)};
  for (ClusterProvider provider : release.providers) {
    auto profile = profile::load_profile_from(*folders, provider, entry.version);
    if (!profile) return fail(CommandError(std::move(profile).error()));
    QV_RETURN_IF_ERROR(write_template(*profile, target, entry.version, provider));
  }
  return release;
}

}  // namespace

qv_common::Result<Templates, CommandError> materialize(const Sources& sources, const fs::path& target) {
  QV_ASSIGN_OR_RETURN(const inventory::Inventory inventory,
                      inventory::read_inventory(sources.kupgrade, platform::Containment(sources.kupgrade_bound())));
  Templates templates{target / "templates", inventory.versions.front().version, {}};
  for (auto entry = inventory.versions.rbegin(); entry != inventory.versions.rend(); ++entry) {
    QV_ASSIGN_OR_RETURN(Release release, materialize_release(sources, target, *entry, templates.newest));
    templates.releases.push_back(std::move(release));
  }
  return templates;
}

qv_common::Result<ScratchTemplates, CommandError> materialize_scratch(const Sources& sources) {
  auto folder = platform::TempDir::create();
  if (!folder) return fail(UpgradeError::OfflineTargetWriteFailed(platform::system_temp_folder(), folder.error()));
  QV_ASSIGN_OR_RETURN(Templates templates, materialize(sources, folder->path()));
  return ScratchTemplates{std::move(*folder), std::move(templates)};
}

Done reset(const fs::path& src, const fs::path& dst) {
  if (auto copied = reset_tree(src, dst); !copied) {
    return fail(UpgradeError::OfflineTargetWriteFailed(platform::display(dst), copied.error()));
  }
  return {};
}

}  // namespace runtime::instance::upgrade::replay
