#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "test_support/folder_files.h"
#include "test_support/program.h"
#include "test_support/temp_folder.h"

namespace test_support {

// An upgrade tree and a kprofile folder side by side in one temporary folder,
// and the `upgrade` command of the built program run on them.
class UpgradeTree {
 public:
  std::filesystem::path kupgrade() const { return folder_.path() / "kupgrade"; }
  std::filesystem::path kprofile() const { return folder_.path() / "kprofile"; }

  // Writes the spec document upgrades/<version>.yaml.
  void spec(std::string_view version, std::string_view text) const;
  // Writes every file of `files` below the content folder upgrades/<version>.
  void content(std::string_view version, const Files& files) const;
  // Writes every file of `files` below the upgrade tree.
  void upgrade_files(const Files& files) const;
  // Writes every file of `files` below the kprofile folder.
  void profile(const Files& files) const;
  // The files of the kprofile folder as they are now.
  Files profile_files() const;

  // Runs `upgrade --kupgrade <kupgrade> --kprofile <kprofile> --version <version>`.
  Finished upgrade(std::string_view version) const;

  // `text` with every "<k>" replaced by the upgrade tree's path and every
  // "<p>" by the kprofile folder's path.
  std::string expand(std::string_view text) const;

 private:
  TempFolder folder_;
};

}  // namespace test_support
