#include "platform/entry_names.h"

#include <dirent.h>

#include <memory>
#include <string_view>

namespace platform {
namespace {

struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

}  // namespace

std::vector<std::string> entry_names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, FolderCloser> listing(::opendir(folder.c_str()));
  if (!listing) return names;
  while (const dirent* entry = ::readdir(listing.get())) {
    const std::string_view name(entry->d_name);
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return names;
}

}  // namespace platform
