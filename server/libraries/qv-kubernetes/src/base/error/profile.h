#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "base/error/enumeration.h"
#include "base/error/kubernetes.h"

namespace base::error::profile {

// Failures of loading a kprofile folder. Codes 0-6 bad kprofile content,
// 1000-1001 paths that do not resolve, 5000-5013 failures of the file system,
// of external programs, of manifests, and the Kubernetes errors.
class ProfileError : public catalog::Enumeration<ProfileError> {
 public:
  static ProfileError NotFound(std::string profile_name);
  static ProfileError InvalidPathComponent(std::string component, std::string path);
  static ProfileError DuplicateFile(std::string file_name);
  static ProfileError FamilyFolderMissing(std::string family, std::string path);
  static ProfileError FamilyFolderNotFlat(std::string family, std::string subfolder);
  static ProfileError EntryMissing(std::string family, std::string entry_name);
  static ProfileError UnknownFamily(std::string family);
  static ProfileError KprofilesPathInvalid(std::string path);
  static ProfileError ForeignAssetPathInvalid(std::string asset, std::string resolved_path);
  static ProfileError ResourceBinaryNotFound(std::string program, std::string cause);
  static ProfileError ResourceBinaryFailed(std::string program, std::string cause);
  static ProfileError ResourceBinaryNonUtf8Output(std::string program);
  static ProfileError QuorvaleVersionResolveFailed(std::string cause);
  static ProfileError WalkFailed(std::string path, std::string cause);
  static ProfileError ReadFailed(std::string path, std::string cause);
  static ProfileError EntrySerializeFailed(std::string entry, std::string cause);
  static ProfileError ResourceBinaryStatus(std::string command, std::string status, std::string output);
  static ProfileError StatFailed(std::string path, std::string cause);
  static ProfileError PlaceholderResolutionFailed(std::string family, std::string entry_name, std::string cause);
  static ProfileError ConfigmapEntryNotUtf8(std::string configmap, std::string entry, std::string cause);
  static ProfileError ManifestDeserializeFailed(std::string path, std::string cause);
  static ProfileError ManifestSerializeFailed(std::string cause);
  static ProfileError Kubernetes(kubernetes::KubernetesError error);

 private:
  friend Enumeration;
  explicit ProfileError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

}  // namespace base::error::profile

namespace base::error {
using profile::ProfileError;
}  // namespace base::error
