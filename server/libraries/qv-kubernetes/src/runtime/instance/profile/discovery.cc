#include "runtime/instance/profile/discovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/entry_names.h"
#include "platform/text_file.h"
#include "platform/utf8.h"

namespace runtime::instance::profile {
namespace {

using base::error::ProfileError;

template <typename T>
using ProfileResult = qv_common::Result<T, ProfileError>;

bool ignored_name(std::string_view name) {
  if (!platform::is_valid_utf8(name) || name.starts_with('.') || name == "__pycache__") return true;
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = name.substr(dot + 1);
  return extension == "pyc" || extension == "pyo";
}

// The entry's type, links not followed.
ProfileResult<unsigned char> type_of(const FamilyFolder& folder, const platform::FolderEntry& entry) {
  if (entry.type != DT_UNKNOWN) return entry.type;
  struct stat status;
  if (::fstatat(folder.fd.get(), entry.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    return qv_common::fail(ProfileError::StatFailed(platform::display(folder.path / entry.name), std::strerror(errno)));
  }
  return static_cast<unsigned char>(IFTODT(status.st_mode));
}

// The text of the regular file `name` in the folder; a link that took its
// place since the listing is not followed.
qv_common::Result<std::string, std::string> read_entry(const FamilyFolder& folder, const std::string& name) {
  const platform::UniqueFd file(::openat(folder.fd.get(), name.c_str(), platform::kReadFlags | O_CLOEXEC | O_NOFOLLOW));
  if (!file) return qv_common::fail(std::string(std::strerror(errno)));
  return platform::read_text(file);
}

// The entry as a discovered file; nothing for an entry that is passed over.
ProfileResult<std::optional<DiscoveryFile>> visit_entry(const FamilyFolder& folder, const platform::FolderEntry& entry,
                                                        std::string_view family) {
  if (ignored_name(entry.name)) return std::nullopt;
  QV_ASSIGN_OR_RETURN(const unsigned char type, type_of(folder, entry));
  if (type == DT_DIR) return qv_common::fail(ProfileError::FamilyFolderNotFlat(std::string(family), entry.name));
  if (type != DT_REG) return std::nullopt;

  auto content = read_entry(folder, entry.name);
  if (!content) {
    return qv_common::fail(ProfileError::ReadFailed(platform::display(folder.path / entry.name), content.error()));
  }
  return DiscoveryFile{entry.name, key_of(entry.name), std::move(*content)};
}

}  // namespace

bundle::ParsedFileName key_of(std::string_view name) {
  static constexpr std::string_view kSchemaFile = ".schema.yaml";
  static constexpr std::string_view kSchemaBase = ".schema";
  std::string key(name);
  if (name.ends_with(kSchemaFile)) key = std::string(name.substr(0, name.size() - kSchemaFile.size())) + ".yamls";
  bundle::ParsedFileName parsed = bundle::parse_filename(key);
  if (parsed.suffix == ".yaml" && parsed.base.ends_with(kSchemaBase)) {
    parsed.base.resize(parsed.base.size() - kSchemaBase.size());
    parsed.suffix = ".yamls";
  }
  return parsed;
}

ProfileResult<std::vector<DiscoveryFile>> discover_family(const FamilyFolder& folder, std::string_view family) {
  const platform::Listing listing = platform::list_folder(folder.fd);
  std::vector<DiscoveryFile> files;
  for (const platform::FolderEntry& entry : listing.entries) {
    QV_ASSIGN_OR_RETURN(std::optional<DiscoveryFile> file, visit_entry(folder, entry, family));
    if (file) files.push_back(std::move(*file));
  }
  if (listing.error != 0) {
    return qv_common::fail(ProfileError::WalkFailed(platform::display(folder.path), std::strerror(listing.error)));
  }
  return files;
}

}  // namespace runtime::instance::profile
