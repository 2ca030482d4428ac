#pragma once

#include <filesystem>
#include <string_view>

#include "base/error/profile.h"
#include "platform/inside.h"
#include "platform/unique_fd.h"
#include "result.h"

// The family folders of one kprofile, each opened once: every listing and
// read of the kprofile goes to the folder that was opened, so what the
// opening decided holds for all of them.
namespace runtime::instance::profile {

struct FamilyFolder {
  std::filesystem::path path;
  platform::UniqueFd fd;  // not open when the kprofile has no such folder
};

struct FamilyFolders {
  FamilyFolder assets;
  FamilyFolder configs;
  FamilyFolder pods;

  // The folder of "assets", "configs" or "pods".
  const FamilyFolder& of(std::string_view family) const;
};

// Opens the family folders of `kprofile` through `reads`, in the order
// assets, configs, pods. A folder that is there but cannot be opened (one
// that `reads` refuses, one without permission) fails with ReadFailed; a
// missing one stays unopened, for the loading to report.
qv_common::Result<FamilyFolders, base::error::ProfileError> open_family_folders(
    const std::filesystem::path& kprofile, const platform::Containment& reads);

}  // namespace runtime::instance::profile
