#include "base/error/upgrade.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <vector>

namespace base::error::upgrade {
namespace {

struct Case {
  UpgradeError error;
  std::uint16_t code;
  std::string_view name;
  std::string_view message;
  std::string_view debug;
};

// Every variant, each text field filled with its own field name.
const std::vector<Case>& cases() {
  static const std::vector<Case> kCases = {
    {UpgradeError::LockParseFailed("cause"), 5300, "LockParseFailed",
     "Could not parse the upgrade lock: cause.",
     "LockParseFailed(\"cause\")"},
    {UpgradeError::LockRenderFailed("cause"), 5301, "LockRenderFailed",
     "Could not render the upgrade lock: cause.",
     "LockRenderFailed(\"cause\")"},
    {UpgradeError::AlreadyLocked("instance", "id", "timestamp"), 5302, "AlreadyLocked",
     "Instance 'instance' is already being upgraded by another actor (lock 'id' taken at timestamp). Wait for it to finish, or clear the lock with 'qvkserver upgrade --unlock'.",
     "AlreadyLocked { instance: \"instance\", id: \"id\", timestamp: \"timestamp\" }"},
    {UpgradeError::LockLost("instance"), 5303, "LockLost",
     "Another actor took the upgrade lock on instance 'instance' before this one could proceed. Run 'qvkserver upgrade' again.",
     "LockLost { instance: \"instance\" }"},
    {UpgradeError::LockAbsent("instance"), 5304, "LockAbsent",
     "Instance 'instance' holds no upgrade lock to release.",
     "LockAbsent { instance: \"instance\" }"},
    {UpgradeError::VersionParseFailed("version", "cause"), 5310, "VersionParseFailed",
     "Could not parse version 'version': cause.",
     "VersionParseFailed { version: \"version\", cause: \"cause\" }"},
    {UpgradeError::InventoryParseFailed("cause"), 5311, "InventoryParseFailed",
     "Could not parse the upgrade inventory: cause.",
     "InventoryParseFailed(\"cause\")"},
    {UpgradeError::InventorySchemaUnsupported(2, 1), 5312, "InventorySchemaUnsupported",
     "The upgrade inventory declares schema 2; this quorvale supports 1.",
     "InventorySchemaUnsupported { found: 2, supported: 1 }"},
    {UpgradeError::InventoryEmpty(), 5313, "InventoryEmpty",
     "The upgrade inventory lists no versions.",
     "InventoryEmpty"},
    {UpgradeError::InventoryDuplicateVersion("version"), 5314, "InventoryDuplicateVersion",
     "The upgrade inventory lists version 'version' more than once.",
     "InventoryDuplicateVersion { version: \"version\" }"},
    {UpgradeError::InventoryNotDescending("version", "after"), 5315, "InventoryNotDescending",
     "The upgrade inventory is not sorted newest first: 'version' appears after 'after'.",
     "InventoryNotDescending { version: \"version\", after: \"after\" }"},
    {UpgradeError::InventoryFloorHasUpgrader("version"), 5316, "InventoryFloorHasUpgrader",
     "The upgrade inventory declares an upgrader for its oldest version 'version'; the oldest version has nothing to upgrade from.",
     "InventoryFloorHasUpgrader { version: \"version\" }"},
    {UpgradeError::VersionBelowFloor("version", "floor"), 5317, "VersionBelowFloor",
     "Instance version 'version' is older than the oldest upgradable version 'floor'. Upgrade the instance to 'floor' with an earlier quorvale first.",
     "VersionBelowFloor { version: \"version\", floor: \"floor\" }"},
    {UpgradeError::VersionNotInInventory("version", "newest"), 5318, "VersionNotInInventory",
     "Version 'version' is unknown to this quorvale, whose newest known version is 'newest'.",
     "VersionNotInInventory { version: \"version\", newest: \"newest\" }"},
    {UpgradeError::ProductOlderThanInstance("product", "instance"), 5319, "ProductOlderThanInstance",
     "The running quorvale version 'product' is older than instance version 'instance'; a newer instance cannot be upgraded by an older quorvale.",
     "ProductOlderThanInstance { product: \"product\", instance: \"instance\" }"},
    {UpgradeError::KupgradePathInvalid("path"), 5320, "KupgradePathInvalid",
     "The upgrade resources path 'path' is not a folder.",
     "KupgradePathInvalid(\"path\")"},
    {UpgradeError::InventoryReadFailed("path", "cause"), 5321, "InventoryReadFailed",
     "Could not read the upgrade inventory 'path': cause.",
     "InventoryReadFailed { path: \"path\", cause: \"cause\" }"},
    {UpgradeError::SpecMissing("version", "path"), 5322, "SpecMissing",
     "The upgrade inventory declares an upgrader for version 'version', but no spec was found at 'path'.",
     "SpecMissing { version: \"version\", path: \"path\" }"},
    {UpgradeError::SpecUnexpected("version", "path"), 5323, "SpecUnexpected",
     "The upgrade inventory declares no upgrader for version 'version', yet a spec exists at 'path'.",
     "SpecUnexpected { version: \"version\", path: \"path\" }"},
    {UpgradeError::SpecOrphan("version", "path"), 5324, "SpecOrphan",
     "The upgrade spec 'path' names version 'version', which the upgrade inventory does not declare an upgrader for.",
     "SpecOrphan { version: \"version\", path: \"path\" }"},
    {UpgradeError::SpecsReadFailed("path", "cause"), 5325, "SpecsReadFailed",
     "Could not read the upgrade specs folder 'path': cause.",
     "SpecsReadFailed { path: \"path\", cause: \"cause\" }"},
    {UpgradeError::TargetMismatch("instance", "target", "product"), 5326, "TargetMismatch",
     "Instance 'instance' is part-way through an upgrade to 'target'; finish it with quorvale 'target'. The running quorvale is 'product'.",
     "TargetMismatch { instance: \"instance\", target: \"target\", product: \"product\" }"},
    {UpgradeError::StartWhileUpgrading("instance", "version", "target"), 5330, "StartWhileUpgrading",
     "Instance 'instance' cannot be started: it is at version 'version' and an upgrade to 'target' is under way. Finish it with 'qvkserver upgrade' using quorvale 'target'.",
     "StartWhileUpgrading { instance: \"instance\", version: \"version\", target: \"target\" }"},
    {UpgradeError::StartWhilePartiallyUpgraded("instance", "version", "stamped"), 5331, "StartWhilePartiallyUpgraded",
     "Instance 'instance' cannot be started: it is only part-way upgraded. Its manifest states version 'version' while its resources are stamped 'stamped'. Run 'qvkserver upgrade' to finish the upgrade.",
     "StartWhilePartiallyUpgraded { instance: \"instance\", version: \"version\", stamped: \"stamped\" }"},
    {UpgradeError::StartOnAnotherVersion("instance", "version", "product"), 5332, "StartOnAnotherVersion",
     "Instance 'instance' cannot be started: it is at version 'version' and the running quorvale is 'product'. Run 'qvkserver upgrade', or use quorvale 'version'.",
     "StartOnAnotherVersion { instance: \"instance\", version: \"version\", product: \"product\" }"},
    {UpgradeError::StartWithStrayEntries("instance", "version", "entries"), 5333, "StartWithStrayEntries",
     "Instance 'instance' cannot be started: it states version 'version' but these resources are at another version: entries. Run 'qvkserver upgrade' to finish the upgrade.",
     "StartWithStrayEntries { instance: \"instance\", version: \"version\", entries: \"entries\" }"},
    {UpgradeError::SpecParseFailed("version", "cause"), 5340, "SpecParseFailed",
     "Could not parse the upgrade spec of version 'version': cause.",
     "SpecParseFailed { version: \"version\", cause: \"cause\" }"},
    {UpgradeError::SpecSchemaUnsupported("version", 2, 1), 5341, "SpecSchemaUnsupported",
     "The upgrade spec of version 'version' declares schema 2; this quorvale supports 1.",
     "SpecSchemaUnsupported { version: \"version\", found: 2, supported: 1 }"},
    {UpgradeError::SpecReadFailed("version", "path", "cause"), 5342, "SpecReadFailed",
     "Could not read the upgrade spec of version 'version' at 'path': cause.",
     "SpecReadFailed { version: \"version\", path: \"path\", cause: \"cause\" }"},
    {UpgradeError::ContentMissing("version", "entry", "path"), 5343, "ContentMissing",
     "The upgrade spec of version 'version' writes 'entry', but no content was found at 'path'.",
     "ContentMissing { version: \"version\", entry: \"entry\", path: \"path\" }"},
    {UpgradeError::ContentOrphan("version", "path"), 5344, "ContentOrphan",
     "The upgrade content 'path' of version 'version' is not claimed by any 'create' or 'replace' variant of its spec.",
     "ContentOrphan { version: \"version\", path: \"path\" }"},
    {UpgradeError::ContentReadFailed("version", "path", "cause"), 5345, "ContentReadFailed",
     "Could not read the upgrade content of version 'version' at 'path': cause.",
     "ContentReadFailed { version: \"version\", path: \"path\", cause: \"cause\" }"},
    {UpgradeError::SpecChangesUnexpected("version", "entry"), 5346, "SpecChangesUnexpected",
     "The upgrade spec of version 'version' declares changes for 'entry', whose action is not 'modify'.",
     "SpecChangesUnexpected { version: \"version\", entry: \"entry\" }"},
    {UpgradeError::UnknownFamily("folder"), 5347, "UnknownFamily",
     "The upgrade step names configmap family folder 'folder', which is not known.",
     "UnknownFamily { folder: \"folder\" }"},
    {UpgradeError::ModifyTargetMissing("version", "entry", "configmap"), 5348, "ModifyTargetMissing",
     "The upgrade to 'version' modifies 'entry', but its configmap 'configmap' does not exist.",
     "ModifyTargetMissing { version: \"version\", entry: \"entry\", configmap: \"configmap\" }"},
    {UpgradeError::ModifyParseFailed("version", "entry", "cause"), 5349, "ModifyParseFailed",
     "Could not parse 'entry' while upgrading to 'version': cause.",
     "ModifyParseFailed { version: \"version\", entry: \"entry\", cause: \"cause\" }"},
    {UpgradeError::ModifyRenderFailed("version", "entry", "cause"), 5350, "ModifyRenderFailed",
     "Could not render 'entry' while upgrading to 'version': cause.",
     "ModifyRenderFailed { version: \"version\", entry: \"entry\", cause: \"cause\" }"},
    {UpgradeError::EditableRemoveFailed("path", "cause"), 5351, "EditableRemoveFailed",
     "Could not remove the editable folder 'path': cause.",
     "EditableRemoveFailed { path: \"path\", cause: \"cause\" }"},
    {UpgradeError::ModifyPatternInvalid("version", "entry", "pattern", "cause"), 5352, "ModifyPatternInvalid",
     "The pattern 'pattern' for 'entry' in the upgrade to 'version' is invalid: cause.",
     "ModifyPatternInvalid { version: \"version\", entry: \"entry\", pattern: \"pattern\", cause: \"cause\" }"},
    {UpgradeError::VariantOutsideGroup("version", "entry", "variant", "stripped"), 5353, "VariantOutsideGroup",
     "The upgrade to 'version' groups the variant 'variant' under 'entry', but it belongs to 'stripped'.",
     "VariantOutsideGroup { version: \"version\", entry: \"entry\", variant: \"variant\", stripped: \"stripped\" }"},
    {UpgradeError::MergeNotImplemented("version", "entry"), 5354, "MergeNotImplemented",
     "The upgrade to 'version' asks to merge 'entry', but the merge action is not implemented yet.",
     "MergeNotImplemented { version: \"version\", entry: \"entry\" }"},
    {UpgradeError::ForeignAssetReadFailed("path", "cause"), 5355, "ForeignAssetReadFailed",
     "Could not read the foreign asset at 'path': cause.",
     "ForeignAssetReadFailed { path: \"path\", cause: \"cause\" }"},
    {UpgradeError::OfflineSourceReadFailed("path", "cause"), 5356, "OfflineSourceReadFailed",
     "Could not read the kprofile file at 'path': cause.",
     "OfflineSourceReadFailed { path: \"path\", cause: \"cause\" }"},
    {UpgradeError::OfflineTargetWriteFailed("path", "cause"), 5357, "OfflineTargetWriteFailed",
     "Could not write the upgraded file at 'path': cause.",
     "OfflineTargetWriteFailed { path: \"path\", cause: \"cause\" }"},
    {UpgradeError::OfflineTargetMissing("version", "entry", "path"), 5358, "OfflineTargetMissing",
     "The upgrade to 'version' modifies 'entry', but the kprofile file 'path' does not exist.",
     "OfflineTargetMissing { version: \"version\", entry: \"entry\", path: \"path\" }"},
    {UpgradeError::TagKprofileReadFailed("repository", "tag", "cause"), 5359, "TagKprofileReadFailed",
     "Could not read the kprofile of tag 'tag' from 'repository': cause. Every released version needs its tag; fetch them with 'git fetch --tags'.",
     "TagKprofileReadFailed { repository: \"repository\", tag: \"tag\", cause: \"cause\" }"},
    {UpgradeError::PatchApplyFailed("patch", "tag", "cause"), 5360, "PatchApplyFailed",
     "The patch 'patch' does not apply to the kprofile of tag 'tag': cause.",
     "PatchApplyFailed { patch: \"patch\", tag: \"tag\", cause: \"cause\" }"},
    {UpgradeError::DigestsReadFailed("path", "cause"), 5361, "DigestsReadFailed",
     "Could not read the template digests at 'path': cause.",
     "DigestsReadFailed { path: \"path\", cause: \"cause\" }"},
    {UpgradeError::DigestsWriteFailed("path", "cause"), 5362, "DigestsWriteFailed",
     "Could not write the template digests at 'path': cause.",
     "DigestsWriteFailed { path: \"path\", cause: \"cause\" }"},
    {UpgradeError::ResolvedActionUnsupported("version", "entry", "action"), 5363, "ResolvedActionUnsupported",
     "The upgrade to 'version' gives 'entry' the action 'action', but a resolved entry edits the file an instance holds, so it can only be 'modify' or 'retain'.",
     "ResolvedActionUnsupported { version: \"version\", entry: \"entry\", action: \"action\" }"},
  };
  return kCases;
}

TEST(UpgradeErrorTest, EveryVariantHasItsCodeNameMessageAndDebugForm) {
  std::set<std::uint16_t> codes;
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.error.code(), c.code);
    EXPECT_EQ(c.error.name(), c.name);
    EXPECT_EQ(c.error.message(), c.message);
    EXPECT_EQ(c.error.debug(), c.debug);
    EXPECT_TRUE(codes.insert(c.code).second) << "code used twice";
  }
  EXPECT_EQ(codes.size(), 50u);
}

TEST(UpgradeErrorTest, MessagesFollowTheirPlaceholderOrder) {
  EXPECT_EQ(UpgradeError::InventoryEmpty().message(), "The upgrade inventory lists no versions.");
  EXPECT_EQ(UpgradeError::VersionBelowFloor("1.0", "1.2").message(),
            "Instance version '1.0' is older than the oldest upgradable version '1.2'. "
            "Upgrade the instance to '1.2' with an earlier quorvale first.");
  EXPECT_EQ(UpgradeError::TargetMismatch("i", "2.0", "1.5").message(),
            "Instance 'i' is part-way through an upgrade to '2.0'; finish it with quorvale '2.0'. "
            "The running quorvale is '1.5'.");
  EXPECT_EQ(UpgradeError::StartWhileUpgrading("i", "1.0", "2.0").message(),
            "Instance 'i' cannot be started: it is at version '1.0' and an upgrade to '2.0' is under way. "
            "Finish it with 'qvkserver upgrade' using quorvale '2.0'.");
  EXPECT_EQ(UpgradeError::SpecOrphan("1.0", "specs/1.0.yaml").message(),
            "The upgrade spec 'specs/1.0.yaml' names version '1.0', which the upgrade inventory does not "
            "declare an upgrader for.");
}

TEST(UpgradeErrorTest, MessagesAreNotTrimmed) {
  EXPECT_EQ(UpgradeError::ContentReadFailed("1.0", "a/b", "disk full.").message(),
            "Could not read the upgrade content of version '1.0' at 'a/b': disk full..");
  EXPECT_EQ(UpgradeError::LockParseFailed(" x ").message(), "Could not parse the upgrade lock:  x .");
}

TEST(UpgradeErrorTest, DebugFormQuotesAndEscapesTexts) {
  EXPECT_EQ(UpgradeError::InventoryEmpty().debug(), "InventoryEmpty");
  EXPECT_EQ(UpgradeError::InventorySchemaUnsupported(2, 1).debug(), "InventorySchemaUnsupported { found: 2, supported: 1 }");
  EXPECT_EQ(UpgradeError::LockParseFailed("say \"hi\"\n").debug(), R"(LockParseFailed("say \"hi\"\n"))");
  EXPECT_EQ(UpgradeError::UnknownFamily("a\\b").debug(), R"(UnknownFamily { folder: "a\\b" })");
}

TEST(UpgradeErrorTest, PrettyDebugFormSpansLines) {
  EXPECT_EQ(UpgradeError::InventoryEmpty().debug_pretty(), "InventoryEmpty");
  EXPECT_EQ(UpgradeError::LockParseFailed("c").debug_pretty(), "LockParseFailed(\n    \"c\",\n)");
  EXPECT_EQ(UpgradeError::SpecSchemaUnsupported("1.0", 3, 1).debug_pretty(),
            "SpecSchemaUnsupported {\n    version: \"1.0\",\n    found: 3,\n    supported: 1,\n}");
}

TEST(UpgradeErrorTest, EqualityComparesVariantAndFields) {
  EXPECT_EQ(UpgradeError::SpecMissing("1.0", "p"), UpgradeError::SpecMissing("1.0", "p"));
  EXPECT_NE(UpgradeError::SpecMissing("1.0", "p"), UpgradeError::SpecMissing("1.0", "q"));
  EXPECT_NE(UpgradeError::SpecMissing("1.0", "p"), UpgradeError::SpecUnexpected("1.0", "p"));
  EXPECT_NE(UpgradeError::LockParseFailed("c"), UpgradeError::LockRenderFailed("c"));
}

}  // namespace
}  // namespace base::error::upgrade
