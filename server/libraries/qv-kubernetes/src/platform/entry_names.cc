#include "platform/entry_names.h"

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>
#include <memory>
#include <string_view>

namespace platform {
namespace {

struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

using FolderStream = std::unique_ptr<DIR, FolderCloser>;

}  // namespace

std::vector<std::string> entry_names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  const FolderStream listing(::opendir(folder.c_str()));
  if (!listing) return names;
  while (const dirent* entry = ::readdir(listing.get())) {
    const std::string_view name(entry->d_name);
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return names;
}

Listing list_folder(const UniqueFd& folder) {
  Listing listing;
  // The stream takes a descriptor of its own; it shares the folder's read
  // position with `folder`, hence the rewind.
  UniqueFd own(::fcntl(folder.get(), F_DUPFD_CLOEXEC, 0));
  if (!own) return {{}, errno};
  const FolderStream stream(::fdopendir(own.get()));
  if (!stream) return {{}, errno};
  own.release();
  ::rewinddir(stream.get());
  while (true) {
    errno = 0;
    const dirent* entry = ::readdir(stream.get());
    if (entry == nullptr) break;
    const std::string_view name(entry->d_name);
    if (name != "." && name != "..") listing.entries.push_back({std::string(name), entry->d_type});
  }
  listing.error = errno;
  return listing;
}

}  // namespace platform
