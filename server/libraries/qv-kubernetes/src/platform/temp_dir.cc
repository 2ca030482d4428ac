#include "platform/temp_dir.h"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <system_error>
#include <utility>

namespace platform {

std::string system_temp_folder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? std::string(folder) : std::string("/tmp");
}

qv_common::Result<TempDir, std::string> TempDir::create() {
  std::string name = (std::filesystem::path(system_temp_folder()) / "qvk_kupgrader-XXXXXX").string();
  if (::mkdtemp(name.data()) == nullptr) return qv_common::fail(std::generic_category().message(errno));
  return TempDir(std::filesystem::path(name));
}

TempDir::TempDir(TempDir&& other) noexcept : path_(std::exchange(other.path_, {})) {}

TempDir& TempDir::operator=(TempDir&& other) noexcept {
  if (this != &other) {
    remove();
    path_ = std::exchange(other.path_, {});
  }
  return *this;
}

TempDir::~TempDir() { remove(); }

// It runs in a destructor, also while an exception unwinds the stack, so
// nothing may leave it: the removal's own allocations failing (memory ran
// out, and the failed work released too little) leaves the folder.
void TempDir::remove() {
  if (path_.empty()) return;
  try {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  } catch (const std::exception&) {
  }
  path_.clear();
}

}  // namespace platform
