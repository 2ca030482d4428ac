#pragma once

#include <filesystem>

namespace runtime::instance::upgrade::replay {

// The resolved repository paths of one replay, digests or templates run.
struct Sources {
  // The repository root, where git works.
  std::filesystem::path root;
  // The upgrade tree: the inventory and the specs.
  std::filesystem::path kupgrade;
  // The working kprofile, the newest version's.
  std::filesystem::path kprofile;
  // The configuration folder: "digests.yaml" and the patches.
  std::filesystem::path config;

  std::filesystem::path digests() const { return config / "digests.yaml"; }
};

}  // namespace runtime::instance::upgrade::replay
