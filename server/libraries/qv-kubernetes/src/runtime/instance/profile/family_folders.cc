#include "runtime/instance/profile/family_folders.h"

#include <fcntl.h>

#include "platform/utf8.h"

namespace runtime::instance::profile {
namespace {

using base::error::ProfileError;

qv_common::Result<FamilyFolder, ProfileError> open_family(const std::filesystem::path& kprofile,
                                                          std::string_view family,
                                                          const platform::Containment& reads) {
  FamilyFolder folder{kprofile / family, {}};
  platform::Opened opened = reads.open(folder.path, O_RDONLY | O_DIRECTORY);
  if (opened) {
    folder.fd = std::move(*opened);
  } else if (!opened.error().missing()) {
    return qv_common::fail(ProfileError::ReadFailed(platform::display(folder.path), opened.error().cause));
  }
  return folder;
}

}  // namespace

const FamilyFolder& FamilyFolders::of(std::string_view family) const {
  if (family == "assets") return assets;
  return family == "configs" ? configs : pods;
}

qv_common::Result<FamilyFolders, ProfileError> open_family_folders(const std::filesystem::path& kprofile,
                                                                   const platform::Containment& reads) {
  QV_ASSIGN_OR_RETURN(FamilyFolder assets, open_family(kprofile, "assets", reads));
  QV_ASSIGN_OR_RETURN(FamilyFolder configs, open_family(kprofile, "configs", reads));
  QV_ASSIGN_OR_RETURN(FamilyFolder pods, open_family(kprofile, "pods", reads));
  return FamilyFolders{std::move(assets), std::move(configs), std::move(pods)};
}

}  // namespace runtime::instance::profile
