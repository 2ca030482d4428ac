#include "runtime/instance/upgrade/catalog.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <unordered_map>
#include <utility>

#include <fmt/format.h>

#include "base/error/upgrade.h"
#include "platform/entry_names.h"
#include "platform/text_file.h"
#include "platform/utf8.h"
#include "qv_yaml/parse.h"
#include "runtime/instance/profile/bundle.h"
#include "runtime/instance/upgrade/spec/read.h"

namespace runtime::instance::upgrade::catalog {
namespace {

namespace fs = std::filesystem;
using base::error::UpgradeError;
using core::system::exit::CommandError;
using qv_common::fail;
using spec::ActionKind;
using spec::FamilyMap;
using spec::Spec;
using Checked = qv_common::Result<void, CommandError>;

constexpr std::uint32_t kSupportedSchema = 1;


// The families of the spec in the order every check walks them.
std::array<std::pair<std::string_view, const FamilyMap*>, 3> families_of(const Spec& spec) {
  return {{{"assets", &spec.assets}, {"configs", &spec.configs}, {"pods", &spec.pods}}};
}

std::string entry_label(std::string_view family, std::string_view group, std::string_view variant) {
  return fmt::format("{}/{}/{}", family, group, variant);
}

// The groups of one family of the dynamic reading by name, the first entry of
// a name counting as for a lookup: found by hash, since a spec may name
// hundreds of groups.
using RawGroups = std::unordered_map<std::string_view, const qv_yaml::Value*>;

RawGroups raw_groups(const qv_yaml::Value& document, std::string_view family) {
  RawGroups groups;
  const qv_yaml::Value* node = document.is_mapping() ? document.as_mapping().find(family) : nullptr;
  if (node == nullptr || !node->is_mapping()) return groups;
  for (const auto& [key, value] : node->as_mapping()) {
    if (key.is_string()) groups.emplace(key.as_string(), &value);
  }
  return groups;
}

// The raw entry of the dynamic reading, as a mapping, when it has that shape.
const qv_yaml::Value* raw_entry(const RawGroups& groups, std::string_view group, std::string_view variant) {
  const auto found = groups.find(group);
  if (found == groups.end() || !found->second->is_mapping()) return nullptr;
  const qv_yaml::Value* node = found->second->as_mapping().find(variant);
  return node == nullptr ? nullptr : &node->untagged();
}

Checked check_changes(const Spec& spec, const qv_yaml::Value& document, std::string_view version) {
  const qv_yaml::Value no_entries{qv_yaml::Mapping{}};
  for (const auto& [family, map] : families_of(spec)) {
    const RawGroups groups = raw_groups(document, family);
    for (const auto& [group, variants] : *map) {
      for (const auto& [variant, action] : variants) {
        const qv_yaml::Value* entry = raw_entry(groups, group, variant);
        if (entry == nullptr || !(entry->is_mapping() || entry->is_null())) continue;
        const qv_yaml::Value& mapping = entry->is_null() ? no_entries : *entry;
        auto probe = spec::read_probe(mapping);
        if (!probe) continue;
        if (probe->changes && action.kind != ActionKind::kModify) {
          return fail(UpgradeError::SpecChangesUnexpected(std::string(version), entry_label(family, group, variant)));
        }
      }
    }
  }
  return {};
}

Checked check_resolved(const Spec& spec, std::string_view version) {
  for (const auto& [group, variants] : spec.resolved.configs) {
    for (const auto& [variant, action] : variants) {
      if (action.kind == ActionKind::kRetain || action.kind == ActionKind::kModify) continue;
      return fail(UpgradeError::ResolvedActionUnsupported(
          std::string(version), fmt::format("resolved/configs/{}/{}", group, variant), std::string(action.name())));
    }
  }
  return {};
}

Checked check_groups(const Spec& spec, std::string_view version) {
  const std::array<std::pair<std::string_view, const FamilyMap*>, 4> maps = {
      {{"assets", &spec.assets}, {"configs", &spec.configs}, {"pods", &spec.pods},
       {"resolved/configs", &spec.resolved.configs}}};
  for (const auto& [label, map] : maps) {
    for (const auto& [group, variants] : *map) {
      for (const auto& entry : variants) {
        const std::string& variant = entry.first;
        std::string stripped = profile::bundle::parse_filename(variant).render_stripped();
        if (stripped == group) continue;
        return fail(UpgradeError::VariantOutsideGroup(std::string(version), fmt::format("{}/{}", label, group),
                                                      variant, std::move(stripped)));
      }
    }
  }
  return {};
}

bool needs_content(ActionKind kind) {
  return kind == ActionKind::kCreate || kind == ActionKind::kReplace || kind == ActionKind::kMerge;
}

// One family folder of a version's content folder, opened through the
// containment of the reads so that every look into it goes to the folder
// that was opened; not open when there is no such folder.
struct ContentFamily {
  std::string_view family;
  fs::path path;
  platform::UniqueFd fd;
};
using ContentFamilies = std::array<ContentFamily, 3>;

qv_common::Result<ContentFamilies, CommandError> open_content(const fs::path& kupgrade, std::string_view version,
                                                              const platform::Containment& reads) {
  ContentFamilies families{{{"assets", {}, {}}, {"configs", {}, {}}, {"pods", {}, {}}}};
  for (ContentFamily& content : families) {
    content.path = content_folder(kupgrade, version) / content.family;
    platform::Opened opened = reads.open(content.path, O_RDONLY | O_DIRECTORY);
    if (opened) {
      content.fd = std::move(*opened);
    } else if (!opened.error().missing()) {
      return fail(UpgradeError::ContentReadFailed(std::string(version), platform::display(content.path),
                                                  opened.error().cause));
    }
  }
  return families;
}

const ContentFamily& family_of(const ContentFamilies& families, std::string_view family) {
  return *std::find_if(families.begin(), families.end(),
                       [&](const ContentFamily& content) { return content.family == family; });
}

// Whether `name` in the family folder is a regular file. A link is followed
// through the containment of the reads, so that where it leads outside the
// run ends with the refusal, whether or not something is there.
qv_common::Result<bool, std::string> regular_file(const ContentFamily& folder, const std::string& name,
                                                  const platform::Containment& reads) {
  struct stat status;
  if (!folder.fd || ::fstatat(folder.fd.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISLNK(status.st_mode)) return S_ISREG(status.st_mode);
  platform::Opened opened = reads.open(folder.path / name, O_PATH);
  if (!opened) {
    if (opened.error().missing()) return false;
    return fail(std::move(opened.error().cause));
  }
  return ::fstat(opened->get(), &status) == 0 && S_ISREG(status.st_mode);
}

qv_common::Result<std::set<fs::path>, CommandError> check_content(const Spec& spec, const ContentFamilies& content,
                                                                  std::string_view version,
                                                                  const platform::Containment& reads) {
  std::set<fs::path> claimed;
  for (const auto& [family, map] : families_of(spec)) {
    const ContentFamily& folder = family_of(content, family);
    for (const auto& [group, variants] : *map) {
      for (const auto& [variant, action] : variants) {
        if (!needs_content(action.kind)) continue;
        fs::path path = folder.path / variant;
        const auto regular = regular_file(folder, variant, reads);
        if (!regular) {
          return fail(UpgradeError::ContentReadFailed(std::string(version), platform::display(path), regular.error()));
        }
        if (!*regular) {
          return fail(UpgradeError::ContentMissing(std::string(version), entry_label(family, group, variant),
                                                   platform::display(path)));
        }
        claimed.insert(std::move(path));
      }
    }
  }
  return claimed;
}

Checked check_orphans(const ContentFamilies& content, std::string_view version, const std::set<fs::path>& claimed,
                      const platform::Containment& reads) {
  for (const ContentFamily& folder : content) {
    if (!folder.fd) continue;
    const platform::Listing listing = platform::list_folder(folder.fd);
    for (const platform::FolderEntry& entry : listing.entries) {
      fs::path path = folder.path / entry.name;
      if (claimed.contains(path)) continue;
      const auto regular = regular_file(folder, entry.name, reads);
      if (!regular) {
        return fail(UpgradeError::ContentReadFailed(std::string(version), platform::display(path), regular.error()));
      }
      if (*regular) {
        return fail(UpgradeError::ContentOrphan(std::string(version), platform::display(path)));
      }
    }
    if (listing.error != 0) {
      return fail(UpgradeError::ContentReadFailed(std::string(version), platform::display(folder.path),
                                                  std::strerror(listing.error)));
    }
  }
  return {};
}

}  // namespace

fs::path spec_path(const fs::path& kupgrade, std::string_view version) {
  return kupgrade / "upgrades" / fmt::format("{}.yaml", version);
}

fs::path content_folder(const fs::path& kupgrade, std::string_view version) {
  return kupgrade / "upgrades" / version;
}

fs::path content_path(const fs::path& kupgrade, std::string_view version, std::string_view family,
                      std::string_view variant) {
  return content_folder(kupgrade, version) / family / variant;
}

qv_common::Result<Spec, CommandError> load_spec(const fs::path& kupgrade, std::string_view version,
                                                const platform::Containment& reads) {
  const std::string v(version);
  const fs::path path = spec_path(kupgrade, version);
  auto text = platform::read_text(path, reads);
  if (!text) return fail(UpgradeError::SpecReadFailed(v, platform::display(path), text.error()));

  auto typed_document = qv_yaml::parse_single(*text, {.reject_duplicate_keys = false});
  if (!typed_document) return fail(UpgradeError::SpecParseFailed(v, typed_document.error()));
  auto spec = spec::read_spec(*typed_document);
  if (!spec) return fail(UpgradeError::SpecParseFailed(v, spec.error().text()));
  if (spec->schema != kSupportedSchema) {
    return fail(UpgradeError::SpecSchemaUnsupported(v, spec->schema, kSupportedSchema));
  }

  // The dynamic reading of the same text: the same values, with repeated keys rejected.
  if (auto unique = qv_yaml::check_unique_keys(*typed_document); !unique) {
    return fail(UpgradeError::SpecParseFailed(v, unique.error()));
  }

  QV_RETURN_IF_ERROR(check_changes(*spec, *typed_document, version));
  QV_RETURN_IF_ERROR(check_resolved(*spec, version));
  QV_RETURN_IF_ERROR(check_groups(*spec, version));
  QV_ASSIGN_OR_RETURN(const ContentFamilies content, open_content(kupgrade, version, reads));
  QV_ASSIGN_OR_RETURN(const std::set<fs::path> claimed, check_content(*spec, content, version, reads));
  QV_RETURN_IF_ERROR(check_orphans(content, version, claimed, reads));
  return std::move(*spec);
}

}  // namespace runtime::instance::upgrade::catalog
