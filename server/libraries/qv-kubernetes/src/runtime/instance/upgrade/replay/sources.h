#pragma once

#include <filesystem>

namespace runtime::instance::upgrade::replay {

// The resolved paths of a repository run: its root, the upgrade tree, the
// working kprofile and the configuration folder that holds digests and patches.
struct Sources {
  std::filesystem::path root;
  std::filesystem::path kupgrade;
  std::filesystem::path kprofile;
  std::filesystem::path config;

  std::filesystem::path digests() const { return config / "digests.yaml"; }
};

}  // namespace runtime::instance::upgrade::replay
