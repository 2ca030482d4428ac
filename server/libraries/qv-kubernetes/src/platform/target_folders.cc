#include "platform/target_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;
using Done = qv_common::Result<void, std::string>;

Done failed(int error) { return qv_common::fail(std::generic_category().message(error)); }

// Makes `folder` a folder of its own; its parent is one already.
Done make_real_folder(const fs::path& folder) {
  struct stat status;
  if (::lstat(folder.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode)) return {};
    if (!S_ISLNK(status.st_mode)) return failed(ENOTDIR);
    if (::unlink(folder.c_str()) != 0) return failed(errno);
  } else if (errno != ENOENT) {
    return failed(errno);
  }
  if (::mkdir(folder.c_str(), 0777) != 0) return failed(errno);
  return {};
}

}  // namespace

Done make_real_folders(const fs::path& base, const fs::path& relative) {
  std::error_code error;
  fs::create_directories(base, error);
  if (error) return qv_common::fail(error.message());
  fs::path folder = base;
  for (const fs::path& part : relative) {
    if (part.empty()) continue;
    folder /= part;
    QV_RETURN_IF_ERROR(make_real_folder(folder));
  }
  return {};
}

Done remove_entry(const fs::path& path) {
  struct stat status;
  if (::lstat(path.c_str(), &status) != 0) return errno == ENOENT ? Done{} : failed(errno);
  if (!S_ISDIR(status.st_mode)) return ::unlink(path.c_str()) == 0 ? Done{} : failed(errno);
  // remove_all removes the links it meets without following them.
  std::error_code error;
  fs::remove_all(path, error);
  if (error) return qv_common::fail(error.message());
  return {};
}

}  // namespace platform
