#pragma once

#include <filesystem>
#include <string>

#include "result.h"

namespace platform {

// The system temporary folder: $TMPDIR when set and not empty, else /tmp.
std::string system_temp_folder();

// A uniquely named folder in the system temporary folder, removed with all
// its content when the guard is dropped.
class TempDir {
 public:
  // The error is the system's reason, e.g. "No such file or directory".
  static qv_common::Result<TempDir, std::string> create();

  TempDir(TempDir&& other) noexcept;
  TempDir& operator=(TempDir&& other) noexcept;
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::filesystem::path& path() const { return path_; }

 private:
  explicit TempDir(std::filesystem::path path) : path_(std::move(path)) {}
  void remove();

  std::filesystem::path path_;  // empty once moved from
};

}  // namespace platform
