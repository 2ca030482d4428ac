#include "base/error/profile.h"

namespace base::error::profile {
namespace {

using catalog::Descriptor;
using catalog::tuple;

constexpr Descriptor kNotFound =
    tuple(0, "NotFound", 1, "Profile '{}' not found.", {0});

constexpr Descriptor kInvalidPathComponent =
    tuple(1, "InvalidPathComponent", 2, "Path component '{}' in '{}' contains characters not allowed in a profile path.", {0, 1});

constexpr Descriptor kDuplicateFile =
    tuple(2, "DuplicateFile", 1, "Duplicate file name '{}' encountered while loading the profile.", {0});

constexpr Descriptor kFamilyFolderMissing =
    tuple(3, "FamilyFolderMissing", 2, "Family folder '{}' is missing at '{}'.", {0, 1});

constexpr Descriptor kFamilyFolderNotFlat =
    tuple(4, "FamilyFolderNotFlat", 2, "Family folder '{}' must be flat, but contains the subfolder '{}'.", {0, 1});

constexpr Descriptor kEntryMissing =
    tuple(5, "EntryMissing", 2, "Profile is missing the '{}/{}' entry.", {0, 1});

constexpr Descriptor kUnknownFamily =
    tuple(6, "UnknownFamily", 1, "Unknown profile family '{}'.", {0});

constexpr Descriptor kKprofilesPathInvalid =
    tuple(1000, "KprofilesPathInvalid", 1, "Resolved profiles path '{}' does not exist or is not a directory.", {0});

constexpr Descriptor kForeignAssetPathInvalid =
    tuple(1001, "ForeignAssetPathInvalid", 2, "Resolved path '{}' of foreign asset '{}' does not exist or is not a file.", {1, 0});

constexpr Descriptor kResourceBinaryNotFound =
    tuple(5000, "ResourceBinaryNotFound", 2, "Could not locate the '{}' binary: {}.", {0, 1});

constexpr Descriptor kResourceBinaryFailed =
    tuple(5001, "ResourceBinaryFailed", 2, "Could not run '{}': {}.", {0, 1});

constexpr Descriptor kResourceBinaryNonUtf8Output =
    tuple(5002, "ResourceBinaryNonUtf8Output", 1, "Output of '{}' is not valid UTF-8.", {0});

constexpr Descriptor kQuorvaleVersionResolveFailed =
    tuple(5003, "QuorvaleVersionResolveFailed", 1, "Could not resolve the quorvale package version: {}.", {0});

constexpr Descriptor kWalkFailed =
    tuple(5004, "WalkFailed", 2, "Could not walk '{}': {}.", {0, 1});

constexpr Descriptor kReadFailed =
    tuple(5005, "ReadFailed", 2, "Could not read '{}': {}.", {0, 1});

constexpr Descriptor kEntrySerializeFailed =
    tuple(5006, "EntrySerializeFailed", 2, "Could not serialize ConfigMap entry for '{}': {}.", {0, 1});

constexpr Descriptor kResourceBinaryStatus =
    tuple(5007, "ResourceBinaryStatus", 3, "Command '{}' failed with status {}: {}.", {0, 1, 2});

constexpr Descriptor kStatFailed =
    tuple(5008, "StatFailed", 2, "Could not stat '{}': {}.", {0, 1});

constexpr Descriptor kPlaceholderResolutionFailed =
    tuple(5009, "PlaceholderResolutionFailed", 3, "Failed to resolve placeholders in '{}/{}': {}.", {0, 1, 2});

constexpr Descriptor kConfigmapEntryNotUtf8 =
    tuple(5010, "ConfigmapEntryNotUtf8", 3, "Configmap '{}' entry '{}' is not valid UTF-8: {}.", {0, 1, 2});

constexpr Descriptor kManifestDeserializeFailed =
    tuple(5011, "ManifestDeserializeFailed", 2, "Failed to deserialize '{}': {}.", {0, 1});

constexpr Descriptor kManifestSerializeFailed =
    tuple(5012, "ManifestSerializeFailed", 1, "Failed to serialize the profile manifest: {}.", {0});

constexpr Descriptor kKubernetes =
    tuple(5013, "Kubernetes", 1, "{}", {0});

}  // namespace

ProfileError ProfileError::NotFound(std::string profile_name) {
  return make(kNotFound, std::move(profile_name));
}

ProfileError ProfileError::InvalidPathComponent(std::string component, std::string path) {
  return make(kInvalidPathComponent, std::move(component), std::move(path));
}

ProfileError ProfileError::DuplicateFile(std::string file_name) {
  return make(kDuplicateFile, std::move(file_name));
}

ProfileError ProfileError::FamilyFolderMissing(std::string family, std::string path) {
  return make(kFamilyFolderMissing, std::move(family), std::move(path));
}

ProfileError ProfileError::FamilyFolderNotFlat(std::string family, std::string subfolder) {
  return make(kFamilyFolderNotFlat, std::move(family), std::move(subfolder));
}

ProfileError ProfileError::EntryMissing(std::string family, std::string entry_name) {
  return make(kEntryMissing, std::move(family), std::move(entry_name));
}

ProfileError ProfileError::UnknownFamily(std::string family) {
  return make(kUnknownFamily, std::move(family));
}

ProfileError ProfileError::KprofilesPathInvalid(std::string path) {
  return make(kKprofilesPathInvalid, std::move(path));
}

ProfileError ProfileError::ForeignAssetPathInvalid(std::string asset, std::string resolved_path) {
  return make(kForeignAssetPathInvalid, std::move(asset), std::move(resolved_path));
}

ProfileError ProfileError::ResourceBinaryNotFound(std::string program, std::string cause) {
  return make(kResourceBinaryNotFound, std::move(program), std::move(cause));
}

ProfileError ProfileError::ResourceBinaryFailed(std::string program, std::string cause) {
  return make(kResourceBinaryFailed, std::move(program), std::move(cause));
}

ProfileError ProfileError::ResourceBinaryNonUtf8Output(std::string program) {
  return make(kResourceBinaryNonUtf8Output, std::move(program));
}

ProfileError ProfileError::QuorvaleVersionResolveFailed(std::string cause) {
  return make(kQuorvaleVersionResolveFailed, std::move(cause));
}

ProfileError ProfileError::WalkFailed(std::string path, std::string cause) {
  return make(kWalkFailed, std::move(path), std::move(cause));
}

ProfileError ProfileError::ReadFailed(std::string path, std::string cause) {
  return make(kReadFailed, std::move(path), std::move(cause));
}

ProfileError ProfileError::EntrySerializeFailed(std::string entry, std::string cause) {
  return make(kEntrySerializeFailed, std::move(entry), std::move(cause));
}

ProfileError ProfileError::ResourceBinaryStatus(std::string command, std::string status, std::string output) {
  return make(kResourceBinaryStatus, std::move(command), std::move(status), std::move(output));
}

ProfileError ProfileError::StatFailed(std::string path, std::string cause) {
  return make(kStatFailed, std::move(path), std::move(cause));
}

ProfileError ProfileError::PlaceholderResolutionFailed(std::string family, std::string entry_name, std::string cause) {
  return make(kPlaceholderResolutionFailed, std::move(family), std::move(entry_name), std::move(cause));
}

ProfileError ProfileError::ConfigmapEntryNotUtf8(std::string configmap, std::string entry, std::string cause) {
  return make(kConfigmapEntryNotUtf8, std::move(configmap), std::move(entry), std::move(cause));
}

ProfileError ProfileError::ManifestDeserializeFailed(std::string path, std::string cause) {
  return make(kManifestDeserializeFailed, std::move(path), std::move(cause));
}

ProfileError ProfileError::ManifestSerializeFailed(std::string cause) {
  return make(kManifestSerializeFailed, std::move(cause));
}

ProfileError ProfileError::Kubernetes(kubernetes::KubernetesError error) {
  return make(kKubernetes, error.entry());
}

}  // namespace base::error::profile
