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

  // The folder that no link under the upgrade tree may lead out of: the
  // repository, or the upgrade tree itself when it was given outside it.
  std::filesystem::path kupgrade_bound() const {
    const std::filesystem::path relative = kupgrade.lexically_relative(root);
    return !relative.empty() && *relative.begin() != ".." ? root : kupgrade;
  }
};

}  // namespace runtime::instance::upgrade::replay
