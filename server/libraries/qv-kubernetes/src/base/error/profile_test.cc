#include "base/error/profile.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <vector>

namespace base::error::profile {
namespace {

using kubernetes::KubeConfigMapError;
using kubernetes::KubernetesError;
using kubernetes::NamingError;

struct Case {
  ProfileError error;
  std::uint16_t code;
  std::string_view name;
  std::string_view message;
  std::string_view debug;
};

// Every variant, each field filled with its role.
const std::vector<Case>& cases() {
  static const std::vector<Case> kCases = {
    {ProfileError::NotFound("profile_name"), 0, "NotFound",
     "Profile 'profile_name' not found.",
     "NotFound(\"profile_name\")"},
    {ProfileError::InvalidPathComponent("component", "path"), 1, "InvalidPathComponent",
     "Path component 'component' in 'path' contains characters not allowed in a profile path.",
     "InvalidPathComponent(\"component\", \"path\")"},
    {ProfileError::DuplicateFile("file_name"), 2, "DuplicateFile",
     "Duplicate file name 'file_name' encountered while loading the profile.",
     "DuplicateFile(\"file_name\")"},
    {ProfileError::FamilyFolderMissing("family", "path"), 3, "FamilyFolderMissing",
     "Family folder 'family' is missing at 'path'.",
     "FamilyFolderMissing(\"family\", \"path\")"},
    {ProfileError::FamilyFolderNotFlat("family", "subfolder"), 4, "FamilyFolderNotFlat",
     "Family folder 'family' must be flat, but contains the subfolder 'subfolder'.",
     "FamilyFolderNotFlat(\"family\", \"subfolder\")"},
    {ProfileError::EntryMissing("family", "entry_name"), 5, "EntryMissing",
     "Profile is missing the 'family/entry_name' entry.",
     "EntryMissing(\"family\", \"entry_name\")"},
    {ProfileError::UnknownFamily("family"), 6, "UnknownFamily",
     "Unknown profile family 'family'.",
     "UnknownFamily(\"family\")"},
    {ProfileError::KprofilesPathInvalid("path"), 1000, "KprofilesPathInvalid",
     "Resolved profiles path 'path' does not exist or is not a directory.",
     "KprofilesPathInvalid(\"path\")"},
    {ProfileError::ForeignAssetPathInvalid("asset", "resolved_path"), 1001, "ForeignAssetPathInvalid",
     "Resolved path 'resolved_path' of foreign asset 'asset' does not exist or is not a file.",
     "ForeignAssetPathInvalid(\"asset\", \"resolved_path\")"},
    {ProfileError::ResourceBinaryNotFound("program", "cause"), 5000, "ResourceBinaryNotFound",
     "Could not locate the 'program' binary: cause.",
     "ResourceBinaryNotFound(\"program\", \"cause\")"},
    {ProfileError::ResourceBinaryFailed("program", "cause"), 5001, "ResourceBinaryFailed",
     "Could not run 'program': cause.",
     "ResourceBinaryFailed(\"program\", \"cause\")"},
    {ProfileError::ResourceBinaryNonUtf8Output("program"), 5002, "ResourceBinaryNonUtf8Output",
     "Output of 'program' is not valid UTF-8.",
     "ResourceBinaryNonUtf8Output(\"program\")"},
    {ProfileError::QuorvaleVersionResolveFailed("cause"), 5003, "QuorvaleVersionResolveFailed",
     "Could not resolve the quorvale package version: cause.",
     "QuorvaleVersionResolveFailed(\"cause\")"},
    {ProfileError::WalkFailed("path", "cause"), 5004, "WalkFailed",
     "Could not walk 'path': cause.",
     "WalkFailed(\"path\", \"cause\")"},
    {ProfileError::ReadFailed("path", "cause"), 5005, "ReadFailed",
     "Could not read 'path': cause.",
     "ReadFailed(\"path\", \"cause\")"},
    {ProfileError::EntrySerializeFailed("entry", "cause"), 5006, "EntrySerializeFailed",
     "Could not serialize ConfigMap entry for 'entry': cause.",
     "EntrySerializeFailed(\"entry\", \"cause\")"},
    {ProfileError::ResourceBinaryStatus("command", "status", "output"), 5007, "ResourceBinaryStatus",
     "Command 'command' failed with status status: output.",
     "ResourceBinaryStatus(\"command\", \"status\", \"output\")"},
    {ProfileError::StatFailed("path", "cause"), 5008, "StatFailed",
     "Could not stat 'path': cause.",
     "StatFailed(\"path\", \"cause\")"},
    {ProfileError::PlaceholderResolutionFailed("family", "entry_name", "cause"), 5009, "PlaceholderResolutionFailed",
     "Failed to resolve placeholders in 'family/entry_name': cause.",
     "PlaceholderResolutionFailed(\"family\", \"entry_name\", \"cause\")"},
    {ProfileError::ConfigmapEntryNotUtf8("configmap", "entry", "cause"), 5010, "ConfigmapEntryNotUtf8",
     "Configmap 'configmap' entry 'entry' is not valid UTF-8: cause.",
     "ConfigmapEntryNotUtf8(\"configmap\", \"entry\", \"cause\")"},
    {ProfileError::ManifestDeserializeFailed("path", "cause"), 5011, "ManifestDeserializeFailed",
     "Failed to deserialize 'path': cause.",
     "ManifestDeserializeFailed(\"path\", \"cause\")"},
    {ProfileError::ManifestSerializeFailed("cause"), 5012, "ManifestSerializeFailed",
     "Failed to serialize the profile manifest: cause.",
     "ManifestSerializeFailed(\"cause\")"},
    {ProfileError::Kubernetes(KubernetesError::ConfigMap(KubeConfigMapError::NotFound("namespace", "name"))), 5013, "Kubernetes",
     "ConfigMap 'name' not found in namespace 'namespace'.",
     "Kubernetes(ConfigMap(NotFound { namespace: \"namespace\", name: \"name\" }))"},
  };
  return kCases;
}

TEST(ProfileErrorTest, EveryVariantHasItsCodeNameMessageAndDebugForm) {
  std::set<std::uint16_t> codes;
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.error.code(), c.code);
    EXPECT_EQ(c.error.name(), c.name);
    EXPECT_EQ(c.error.message(), c.message);
    EXPECT_EQ(c.error.debug(), c.debug);
    EXPECT_TRUE(codes.insert(c.code).second) << "code used twice";
  }
  EXPECT_EQ(codes.size(), 23u);
}

TEST(ProfileErrorTest, ForeignAssetPathComesBeforeTheAsset) {
  EXPECT_EQ(ProfileError::ForeignAssetPathInvalid("a", "p").message(),
            "Resolved path 'p' of foreign asset 'a' does not exist or is not a file.");
}

TEST(ProfileErrorTest, KubernetesRendersTheMemberMessageWithoutPrefix) {
  const auto error = ProfileError::Kubernetes(KubernetesError::ConfigMap(KubeConfigMapError::NotFound("n", "c")));
  EXPECT_EQ(error.message(), "ConfigMap 'c' not found in namespace 'n'.");
}

TEST(ProfileErrorTest, KubernetesDebugFormNestsTheMember) {
  const auto error = ProfileError::Kubernetes(
      KubernetesError::Naming(NamingError::InvalidNameSegment(naming::NameSegment::Component, "v", "r")));
  EXPECT_EQ(error.debug(), R"(Kubernetes(Naming(InvalidNameSegment { segment: Component, value: "v", reason: "r" })))");
  EXPECT_EQ(error.debug_pretty(),
            "Kubernetes(\n"
            "    Naming(\n"
            "        InvalidNameSegment {\n"
            "            segment: Component,\n"
            "            value: \"v\",\n"
            "            reason: \"r\",\n"
            "        },\n"
            "    ),\n"
            ")");
  EXPECT_EQ(error.message(), "Name segment 'component' value 'v' is invalid: r.");
}

TEST(ProfileErrorTest, EqualityLooksIntoNestedErrors) {
  const auto of = [](std::string name) {
    return ProfileError::Kubernetes(KubernetesError::ConfigMap(KubeConfigMapError::NotFound("n", std::move(name))));
  };
  EXPECT_EQ(of("c"), of("c"));
  EXPECT_NE(of("c"), of("d"));
  EXPECT_NE(ProfileError::NotFound("x"), ProfileError::UnknownFamily("x"));
}

}  // namespace
}  // namespace base::error::profile
