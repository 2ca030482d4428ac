#include "platform/new_file_group.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace platform {
namespace {

// The folder `path` lies in, as text: splitting the path into components
// would cost more than the lookup it saves.
std::string_view folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string_view("/") : std::string_view(path).substr(0, slash);
}

struct LastFolder {
  std::string folder;
  std::optional<gid_t> group;
  bool known = false;
};

}  // namespace

std::optional<gid_t> new_file_group(const std::filesystem::path& path) {
  thread_local LastFolder last;
  const std::string_view folder = folder_of(path.native());
  if (last.known && last.folder == folder) return last.group;
  last.folder.assign(folder);
  last.known = true;
  last.group.reset();
  struct stat status;
  if (::stat(last.folder.c_str(), &status) != 0) return std::nullopt;
  last.group = (status.st_mode & S_ISGID) != 0 ? status.st_gid : ::getegid();
  return last.group;
}

}  // namespace platform
