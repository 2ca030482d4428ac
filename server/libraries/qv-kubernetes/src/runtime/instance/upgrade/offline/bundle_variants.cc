#include "runtime/instance/upgrade/offline/bundle_variants.h"

#include "platform/entry_names.h"
#include "platform/utf8.h"
#include "runtime/instance/profile/bundle.h"

namespace runtime::instance::upgrade::offline {

std::map<std::string, std::vector<std::string>, std::less<>> variants_by_group(const std::filesystem::path& folder) {
  std::map<std::string, std::vector<std::string>, std::less<>> groups;
  for (const std::string& entry : platform::entry_names(folder)) {
    std::string name = platform::lossy_utf8(entry);
    groups[profile::bundle::parse_filename(name).render_stripped()].push_back(std::move(name));
  }
  return groups;
}

std::vector<std::string> bundle_variants(const std::filesystem::path& folder, std::string_view group) {
  auto groups = variants_by_group(folder);
  const auto found = groups.find(group);
  return found == groups.end() ? std::vector<std::string>() : std::move(found->second);
}

}  // namespace runtime::instance::upgrade::offline
