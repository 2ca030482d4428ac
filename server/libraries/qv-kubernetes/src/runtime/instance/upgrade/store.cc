#include "runtime/instance/upgrade/store.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/error/upgrade.h"
#include "platform/text_file.h"
#include "platform/utf8.h"

namespace runtime::instance::upgrade::store {
namespace {

using base::error::UpgradeError;
using qv_common::fail;

// Follows links; a path whose status cannot be read counts as absent.
bool present(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

// Appended in place, which spares the temporary paths of `root_ / family / name`.
std::filesystem::path FolderStore::path_of(const plan::Step& step) const {
  std::filesystem::path path = root_;
  path /= step.family;
  path /= by_file_ ? step.file : step.variant;
  return path;
}

std::string FolderStore::locate(const plan::Step& step) const { return platform::display(path_of(step)); }

// Both operations try the common case first and look at the file system only
// when it fails, which gives the same outcome with fewer system calls.
qv_common::Result<std::optional<std::string>, CommandError> FolderStore::read(const plan::Step& step) {
  const std::filesystem::path path = path_of(step);
  auto text = platform::read_text(path);
  if (text) return std::optional<std::string>(std::move(*text));
  if (!present(path)) return std::optional<std::string>();
  return fail(UpgradeError::OfflineSourceReadFailed(platform::display(path), text.error()));
}

qv_common::Result<void, CommandError> FolderStore::write(const plan::Step& step, std::string text) {
  const std::filesystem::path path = path_of(step);
  if (platform::write_file(path, text)) return {};
  if (path.has_parent_path()) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
      return fail(UpgradeError::OfflineTargetWriteFailed(platform::display(path.parent_path()), error.message()));
    }
  }
  if (auto written = platform::write_file(path, text); !written) {
    return fail(UpgradeError::OfflineTargetWriteFailed(platform::display(path), written.error()));
  }
  return {};
}

qv_common::Result<void, CommandError> FolderStore::remove(const plan::Step& step) {
  const std::filesystem::path path = path_of(step);
  if (!present(path)) return {};
  if (::unlink(path.c_str()) != 0) {
    return fail(UpgradeError::OfflineTargetWriteFailed(platform::display(path), std::strerror(errno)));
  }
  return {};
}

}  // namespace runtime::instance::upgrade::store
