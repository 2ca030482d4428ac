#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "base/error/profile.h"
#include "result.h"
#include "runtime/instance/manifest.h"
#include "runtime/instance/profile/family_folders.h"
#include "runtime/provider.h"

namespace runtime::instance::profile {

// A kprofile folder loaded for one provider.
struct Profile {
  std::string version;
  // Family, "/" and stripped name (configs/app.yaml) to the file's record.
  std::map<std::string, manifest::ManifestEntry> manifest;
  manifest::Timestamp created_at;
  manifest::Timestamp updated_at;  // the same instant as created_at
  std::uint32_t revision = 1;
  // Stripped file name to content, one map per family.
  std::map<std::string, std::string> pods;
  std::map<std::string, std::string> assets;
  std::map<std::string, std::string> configs;
};

// Reads the family folders "pods", "assets" and "configs" under `root` and
// keeps, for every variant-free name, the variant that serves `provider`.
qv_common::Result<Profile, base::error::ProfileError> load_profile_from(const std::filesystem::path& root,
                                                                         runtime::provider::ClusterProvider provider,
                                                                         std::string_view version);
// The same from family folders already open.
qv_common::Result<Profile, base::error::ProfileError> load_profile_from(const FamilyFolders& folders,
                                                                         runtime::provider::ClusterProvider provider,
                                                                         std::string_view version);

}  // namespace runtime::instance::profile
