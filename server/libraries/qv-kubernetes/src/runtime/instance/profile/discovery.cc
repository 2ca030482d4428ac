#include "runtime/instance/profile/discovery.h"

#include <optional>

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

// The entry as a discovered file; nothing for an entry that is passed over.
ProfileResult<std::optional<DiscoveryFile>> visit_entry(const std::filesystem::directory_entry& entry,
                                                        std::string_view family) {
  std::string name = entry.path().filename().string();
  if (ignored_name(name)) return std::nullopt;
  std::error_code error;
  const std::filesystem::file_status status = entry.symlink_status(error);
  if (error) return qv_common::fail(ProfileError::StatFailed(platform::display(entry.path()), error.message()));
  if (std::filesystem::is_directory(status)) {
    return qv_common::fail(ProfileError::FamilyFolderNotFlat(std::string(family), name));
  }
  if (!std::filesystem::is_regular_file(status)) return std::nullopt;

  auto content = platform::read_text(entry.path());
  if (!content) return qv_common::fail(ProfileError::ReadFailed(platform::display(entry.path()), content.error()));
  bundle::ParsedFileName parsed = key_of(name);
  return DiscoveryFile{std::move(name), std::move(parsed), std::move(*content)};
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

ProfileResult<std::vector<DiscoveryFile>> discover_family(const std::filesystem::path& folder,
                                                          std::string_view family) {
  std::vector<DiscoveryFile> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    QV_ASSIGN_OR_RETURN(std::optional<DiscoveryFile> file, visit_entry(*it, family));
    if (file) files.push_back(std::move(*file));
  }
  if (error) return qv_common::fail(ProfileError::WalkFailed(platform::display(folder), error.message()));
  return files;
}

}  // namespace runtime::instance::profile
