#pragma once

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unique_fd.h"

namespace test_support {

// A chain of ordinary nested folders below `base` whose absolute path is
// longer than PATH_MAX while the path from `base` stays shorter, as a clone
// of a repository can hold them. No single call takes the absolute path, so
// they are made one level at a time through descriptors.
class DeepFolders {
 public:
  explicit DeepFolders(std::filesystem::path base) : base_(std::move(base)) {
    for (int i = 0; i < 20; ++i) names_.push_back(std::string(200, 'd'));
    names_.push_back(std::string(60, 'e'));
    for (const std::string& name : names_) relative_ /= name;
    if (base_.native().size() + 1 + relative_.native().size() <= PATH_MAX) {
      throw std::runtime_error("the base folder's path is too short to go past PATH_MAX");
    }
    platform::UniqueFd folder(::open(base_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const std::string& name : names_) {
      if (::mkdirat(folder.get(), name.c_str(), 0755) != 0 && errno != EEXIST) {
        throw std::runtime_error("mkdirat failed");
      }
      folder = platform::UniqueFd(::openat(folder.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (!folder) throw std::runtime_error("openat failed");
    }
  }

  // The path from `base` to the deepest folder, shorter than PATH_MAX.
  const std::filesystem::path& relative() const { return relative_; }

  // "../" once for every folder of the chain: from the deepest folder back
  // to `base`.
  std::string climb() const {
    std::string up;
    for (std::size_t i = 0; i < names_.size(); ++i) up += "../";
    return up;
  }

  // Writes a file into the deepest folder.
  void write(std::string_view name, std::string_view content) const {
    platform::UniqueFd folder(::open(base_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const std::string& step : names_) {
      folder = platform::UniqueFd(::openat(folder.get(), step.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    platform::UniqueFd file(
        ::openat(folder.get(), std::string(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!file || ::write(file.get(), content.data(), content.size()) != static_cast<ssize_t>(content.size())) {
      throw std::runtime_error("writing into the deepest folder failed");
    }
  }

 private:
  std::filesystem::path base_;
  std::vector<std::string> names_;
  std::filesystem::path relative_;
};

}  // namespace test_support
