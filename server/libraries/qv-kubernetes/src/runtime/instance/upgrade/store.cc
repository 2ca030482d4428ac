#include "runtime/instance/upgrade/store.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

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

// A family and a file name never hold a separator (the spec reading and the
// folder listing see to that), so joining the texts gives the path of
// `root_ / family / name` without building the paths in between.
std::filesystem::path FolderStore::path_of(const plan::Step& step) const {
  const std::string& name = by_file_ ? step.file : step.variant;
  std::string text = root_.native();
  text.reserve(text.size() + step.family.size() + name.size() + 2);
  if (!text.empty() && text.back() != '/') text += '/';
  text.append(step.family).append("/").append(name);
  return std::filesystem::path(std::move(text));
}

std::string FolderStore::locate(const plan::Step& step) const { return platform::display(path_of(step)); }

// Both operations try the common case first and look at the file system only
// when it fails, which gives the same outcome with fewer system calls.
qv_common::Result<std::optional<std::string>, CommandError> FolderStore::read(const plan::Step& step) {
  const std::filesystem::path path = path_of(step);
  platform::FoundFile found;
  auto text = platform::read_text(path, &found);
  if (text) {
    last_read_ = LastRead{path, found};
    return std::optional<std::string>(std::move(*text));
  }
  if (!present(path)) return std::optional<std::string>();
  return fail(UpgradeError::OfflineSourceReadFailed(platform::display(path), text.error()));
}

// The file is replaced whole or not at all; a link at the path is followed,
// and the file it leads to is replaced.
qv_common::Result<void, CommandError> FolderStore::write(const plan::Step& step, std::string text) {
  const std::filesystem::path path = path_of(step);
  const std::optional<LastRead> last = std::exchange(last_read_, std::nullopt);
  const platform::FoundFile* found = last && last->path == path ? &last->found : nullptr;
  if (platform::write_file(path, text, platform::AtLink::kFollow, found)) return {};
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
  last_read_.reset();
  const std::filesystem::path path = path_of(step);
  if (!present(path)) return {};
  if (::unlink(path.c_str()) != 0) {
    return fail(UpgradeError::OfflineTargetWriteFailed(platform::display(path), std::strerror(errno)));
  }
  return {};
}

}  // namespace runtime::instance::upgrade::store
