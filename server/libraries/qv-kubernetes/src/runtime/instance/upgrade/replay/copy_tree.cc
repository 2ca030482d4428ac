#include "runtime/instance/upgrade/replay/copy_tree.h"

#include <system_error>

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;

qv_common::Result<void, std::string> copy_entry(const fs::directory_entry& entry, const fs::path& target) {
  std::error_code error;
  const auto status = entry.symlink_status(error);
  if (error) return qv_common::fail(error.message());
  if (fs::is_directory(status)) return copy_tree(entry.path(), target);
  fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, error);
  if (error) return qv_common::fail(error.message());
  return {};
}

}  // namespace

qv_common::Result<void, std::string> copy_tree(const fs::path& src, const fs::path& dst) {
  std::error_code error;
  fs::create_directories(dst, error);
  if (error) return qv_common::fail(error.message());
  for (fs::directory_iterator entry(src, error), end; !error && entry != end; entry.increment(error)) {
    QV_RETURN_IF_ERROR(copy_entry(*entry, dst / entry->path().filename()));
  }
  if (error) return qv_common::fail(error.message());
  return {};
}

qv_common::Result<void, std::string> reset_tree(const fs::path& src, const fs::path& dst) {
  std::error_code error;
  fs::remove_all(dst, error);
  if (error) return qv_common::fail(error.message());
  return copy_tree(src, dst);
}

}  // namespace runtime::instance::upgrade::replay
