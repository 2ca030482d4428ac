#include "base/error/upgrade.h"

namespace base::error::upgrade {
namespace {

using catalog::Descriptor;
using catalog::record;
using catalog::tuple;
using catalog::unit;

constexpr Descriptor kLockParseFailed =
    tuple(5300, "LockParseFailed", 1, "Could not parse the upgrade lock: {}.", {0});

constexpr Descriptor kLockRenderFailed =
    tuple(5301, "LockRenderFailed", 1, "Could not render the upgrade lock: {}.", {0});

constexpr Descriptor kAlreadyLocked =
    record(5302, "AlreadyLocked", {"instance", "id", "timestamp"}, "Instance '{}' is already being upgraded by another actor (lock '{}' taken at {}). Wait for it to finish, or clear the lock with 'qvkserver upgrade --unlock'.", {0, 1, 2});

constexpr Descriptor kLockLost =
    record(5303, "LockLost", {"instance"}, "Another actor took the upgrade lock on instance '{}' before this one could proceed. Run 'qvkserver upgrade' again.", {0});

constexpr Descriptor kLockAbsent =
    record(5304, "LockAbsent", {"instance"}, "Instance '{}' holds no upgrade lock to release.", {0});

constexpr Descriptor kVersionParseFailed =
    record(5310, "VersionParseFailed", {"version", "cause"}, "Could not parse version '{}': {}.", {0, 1});

constexpr Descriptor kInventoryParseFailed =
    tuple(5311, "InventoryParseFailed", 1, "Could not parse the upgrade inventory: {}.", {0});

constexpr Descriptor kInventorySchemaUnsupported =
    record(5312, "InventorySchemaUnsupported", {"found", "supported"}, "The upgrade inventory declares schema {}; this quorvale supports {}.", {0, 1});

constexpr Descriptor kInventoryEmpty =
    unit(5313, "InventoryEmpty", "The upgrade inventory lists no versions.");

constexpr Descriptor kInventoryDuplicateVersion =
    record(5314, "InventoryDuplicateVersion", {"version"}, "The upgrade inventory lists version '{}' more than once.", {0});

constexpr Descriptor kInventoryNotDescending =
    record(5315, "InventoryNotDescending", {"version", "after"}, "The upgrade inventory is not sorted newest first: '{}' appears after '{}'.", {0, 1});

constexpr Descriptor kInventoryFloorHasUpgrader =
    record(5316, "InventoryFloorHasUpgrader", {"version"}, "The upgrade inventory declares an upgrader for its oldest version '{}'; the oldest version has nothing to upgrade from.", {0});

constexpr Descriptor kVersionBelowFloor =
    record(5317, "VersionBelowFloor", {"version", "floor"}, "Instance version '{}' is older than the oldest upgradable version '{}'. Upgrade the instance to '{}' with an earlier quorvale first.", {0, 1, 1});

constexpr Descriptor kVersionNotInInventory =
    record(5318, "VersionNotInInventory", {"version", "newest"}, "Version '{}' is unknown to this quorvale, whose newest known version is '{}'.", {0, 1});

constexpr Descriptor kProductOlderThanInstance =
    record(5319, "ProductOlderThanInstance", {"product", "instance"}, "The running quorvale version '{}' is older than instance version '{}'; a newer instance cannot be upgraded by an older quorvale.", {0, 1});

constexpr Descriptor kKupgradePathInvalid =
    tuple(5320, "KupgradePathInvalid", 1, "The upgrade resources path '{}' is not a folder.", {0});

constexpr Descriptor kInventoryReadFailed =
    record(5321, "InventoryReadFailed", {"path", "cause"}, "Could not read the upgrade inventory '{}': {}.", {0, 1});

constexpr Descriptor kSpecMissing =
    record(5322, "SpecMissing", {"version", "path"}, "The upgrade inventory declares an upgrader for version '{}', but no spec was found at '{}'.", {0, 1});

constexpr Descriptor kSpecUnexpected =
    record(5323, "SpecUnexpected", {"version", "path"}, "The upgrade inventory declares no upgrader for version '{}', yet a spec exists at '{}'.", {0, 1});

constexpr Descriptor kSpecOrphan =
    record(5324, "SpecOrphan", {"version", "path"}, "The upgrade spec '{}' names version '{}', which the upgrade inventory does not declare an upgrader for.", {1, 0});

constexpr Descriptor kSpecsReadFailed =
    record(5325, "SpecsReadFailed", {"path", "cause"}, "Could not read the upgrade specs folder '{}': {}.", {0, 1});

constexpr Descriptor kTargetMismatch =
    record(5326, "TargetMismatch", {"instance", "target", "product"}, "Instance '{}' is part-way through an upgrade to '{}'; finish it with quorvale '{}'. The running quorvale is '{}'.", {0, 1, 1, 2});

constexpr Descriptor kStartWhileUpgrading =
    record(5330, "StartWhileUpgrading", {"instance", "version", "target"}, "Instance '{}' cannot be started: it is at version '{}' and an upgrade to '{}' is under way. Finish it with 'qvkserver upgrade' using quorvale '{}'.", {0, 1, 2, 2});

constexpr Descriptor kStartWhilePartiallyUpgraded =
    record(5331, "StartWhilePartiallyUpgraded", {"instance", "version", "stamped"}, "Instance '{}' cannot be started: it is only part-way upgraded. Its manifest states version '{}' while its resources are stamped '{}'. Run 'qvkserver upgrade' to finish the upgrade.", {0, 1, 2});

constexpr Descriptor kStartOnAnotherVersion =
    record(5332, "StartOnAnotherVersion", {"instance", "version", "product"}, "Instance '{}' cannot be started: it is at version '{}' and the running quorvale is '{}'. Run 'qvkserver upgrade', or use quorvale '{}'.", {0, 1, 2, 1});

constexpr Descriptor kStartWithStrayEntries =
    record(5333, "StartWithStrayEntries", {"instance", "version", "entries"}, "Instance '{}' cannot be started: it states version '{}' but these resources are at another version: {}. Run 'qvkserver upgrade' to finish the upgrade.", {0, 1, 2});

constexpr Descriptor kSpecParseFailed =
    record(5340, "SpecParseFailed", {"version", "cause"}, "Could not parse the upgrade spec of version '{}': {}.", {0, 1});

constexpr Descriptor kSpecSchemaUnsupported =
    record(5341, "SpecSchemaUnsupported", {"version", "found", "supported"}, "The upgrade spec of version '{}' declares schema {}; this quorvale supports {}.", {0, 1, 2});

constexpr Descriptor kSpecReadFailed =
    record(5342, "SpecReadFailed", {"version", "path", "cause"}, "Could not read the upgrade spec of version '{}' at '{}': {}.", {0, 1, 2});

constexpr Descriptor kContentMissing =
    record(5343, "ContentMissing", {"version", "entry", "path"}, "The upgrade spec of version '{}' writes '{}', but no content was found at '{}'.", {0, 1, 2});

constexpr Descriptor kContentOrphan =
    record(5344, "ContentOrphan", {"version", "path"}, "The upgrade content '{}' of version '{}' is not claimed by any 'create' or 'replace' variant of its spec.", {1, 0});

constexpr Descriptor kContentReadFailed =
    record(5345, "ContentReadFailed", {"version", "path", "cause"}, "Could not read the upgrade content of version '{}' at '{}': {}.", {0, 1, 2});

constexpr Descriptor kSpecChangesUnexpected =
    record(5346, "SpecChangesUnexpected", {"version", "entry"}, "The upgrade spec of version '{}' declares changes for '{}', whose action is not 'modify'.", {0, 1});

constexpr Descriptor kUnknownFamily =
    record(5347, "UnknownFamily", {"folder"}, "The upgrade step names configmap family folder '{}', which is not known.", {0});

constexpr Descriptor kModifyTargetMissing =
    record(5348, "ModifyTargetMissing", {"version", "entry", "configmap"}, "The upgrade to '{}' modifies '{}', but its configmap '{}' does not exist.", {0, 1, 2});

constexpr Descriptor kModifyParseFailed =
    record(5349, "ModifyParseFailed", {"version", "entry", "cause"}, "Could not parse '{}' while upgrading to '{}': {}.", {1, 0, 2});

constexpr Descriptor kModifyRenderFailed =
    record(5350, "ModifyRenderFailed", {"version", "entry", "cause"}, "Could not render '{}' while upgrading to '{}': {}.", {1, 0, 2});

constexpr Descriptor kEditableRemoveFailed =
    record(5351, "EditableRemoveFailed", {"path", "cause"}, "Could not remove the editable folder '{}': {}.", {0, 1});

constexpr Descriptor kModifyPatternInvalid =
    record(5352, "ModifyPatternInvalid", {"version", "entry", "pattern", "cause"}, "The pattern '{}' for '{}' in the upgrade to '{}' is invalid: {}.", {2, 1, 0, 3});

constexpr Descriptor kVariantOutsideGroup =
    record(5353, "VariantOutsideGroup", {"version", "entry", "variant", "stripped"}, "The upgrade to '{}' groups the variant '{}' under '{}', but it belongs to '{}'.", {0, 2, 1, 3});

constexpr Descriptor kMergeNotImplemented =
    record(5354, "MergeNotImplemented", {"version", "entry"}, "The upgrade to '{}' asks to merge '{}', but the merge action is not implemented yet.", {0, 1});

constexpr Descriptor kForeignAssetReadFailed =
    record(5355, "ForeignAssetReadFailed", {"path", "cause"}, "Could not read the foreign asset at '{}': {}.", {0, 1});

constexpr Descriptor kOfflineSourceReadFailed =
    record(5356, "OfflineSourceReadFailed", {"path", "cause"}, "Could not read the kprofile file at '{}': {}.", {0, 1});

constexpr Descriptor kOfflineTargetWriteFailed =
    record(5357, "OfflineTargetWriteFailed", {"path", "cause"}, "Could not write the upgraded file at '{}': {}.", {0, 1});

constexpr Descriptor kOfflineTargetMissing =
    record(5358, "OfflineTargetMissing", {"version", "entry", "path"}, "The upgrade to '{}' modifies '{}', but the kprofile file '{}' does not exist.", {0, 1, 2});

constexpr Descriptor kTagKprofileReadFailed =
    record(5359, "TagKprofileReadFailed", {"repository", "tag", "cause"}, "Could not read the kprofile of tag '{}' from '{}': {}. Every released version needs its tag; fetch them with 'git fetch --tags'.", {1, 0, 2});

constexpr Descriptor kPatchApplyFailed =
    record(5360, "PatchApplyFailed", {"patch", "tag", "cause"}, "The patch '{}' does not apply to the kprofile of tag '{}': {}.", {0, 1, 2});

constexpr Descriptor kDigestsReadFailed =
    record(5361, "DigestsReadFailed", {"path", "cause"}, "Could not read the template digests at '{}': {}.", {0, 1});

constexpr Descriptor kDigestsWriteFailed =
    record(5362, "DigestsWriteFailed", {"path", "cause"}, "Could not write the template digests at '{}': {}.", {0, 1});

constexpr Descriptor kResolvedActionUnsupported =
    record(5363, "ResolvedActionUnsupported", {"version", "entry", "action"}, "The upgrade to '{}' gives '{}' the action '{}', but a resolved entry edits the file an instance holds, so it can only be 'modify' or 'retain'.", {0, 1, 2});

}  // namespace

UpgradeError UpgradeError::LockParseFailed(std::string cause) {
  return make(kLockParseFailed, std::move(cause));
}

UpgradeError UpgradeError::LockRenderFailed(std::string cause) {
  return make(kLockRenderFailed, std::move(cause));
}

UpgradeError UpgradeError::AlreadyLocked(std::string instance, std::string id, std::string timestamp) {
  return make(kAlreadyLocked, std::move(instance), std::move(id), std::move(timestamp));
}

UpgradeError UpgradeError::LockLost(std::string instance) {
  return make(kLockLost, std::move(instance));
}

UpgradeError UpgradeError::LockAbsent(std::string instance) {
  return make(kLockAbsent, std::move(instance));
}

UpgradeError UpgradeError::VersionParseFailed(std::string version, std::string cause) {
  return make(kVersionParseFailed, std::move(version), std::move(cause));
}

UpgradeError UpgradeError::InventoryParseFailed(std::string cause) {
  return make(kInventoryParseFailed, std::move(cause));
}

UpgradeError UpgradeError::InventorySchemaUnsupported(std::uint32_t found, std::uint32_t supported) {
  return make(kInventorySchemaUnsupported, found, supported);
}

UpgradeError UpgradeError::InventoryEmpty() {
  return make(kInventoryEmpty);
}

UpgradeError UpgradeError::InventoryDuplicateVersion(std::string version) {
  return make(kInventoryDuplicateVersion, std::move(version));
}

UpgradeError UpgradeError::InventoryNotDescending(std::string version, std::string after) {
  return make(kInventoryNotDescending, std::move(version), std::move(after));
}

UpgradeError UpgradeError::InventoryFloorHasUpgrader(std::string version) {
  return make(kInventoryFloorHasUpgrader, std::move(version));
}

UpgradeError UpgradeError::VersionBelowFloor(std::string version, std::string floor) {
  return make(kVersionBelowFloor, std::move(version), std::move(floor));
}

UpgradeError UpgradeError::VersionNotInInventory(std::string version, std::string newest) {
  return make(kVersionNotInInventory, std::move(version), std::move(newest));
}

UpgradeError UpgradeError::ProductOlderThanInstance(std::string product, std::string instance) {
  return make(kProductOlderThanInstance, std::move(product), std::move(instance));
}

UpgradeError UpgradeError::KupgradePathInvalid(std::string path) {
  return make(kKupgradePathInvalid, std::move(path));
}

UpgradeError UpgradeError::InventoryReadFailed(std::string path, std::string cause) {
  return make(kInventoryReadFailed, std::move(path), std::move(cause));
}

UpgradeError UpgradeError::SpecMissing(std::string version, std::string path) {
  return make(kSpecMissing, std::move(version), std::move(path));
}

UpgradeError UpgradeError::SpecUnexpected(std::string version, std::string path) {
  return make(kSpecUnexpected, std::move(version), std::move(path));
}

UpgradeError UpgradeError::SpecOrphan(std::string version, std::string path) {
  return make(kSpecOrphan, std::move(version), std::move(path));
}

UpgradeError UpgradeError::SpecsReadFailed(std::string path, std::string cause) {
  return make(kSpecsReadFailed, std::move(path), std::move(cause));
}

UpgradeError UpgradeError::TargetMismatch(std::string instance, std::string target, std::string product) {
  return make(kTargetMismatch, std::move(instance), std::move(target), std::move(product));
}

UpgradeError UpgradeError::StartWhileUpgrading(std::string instance, std::string version, std::string target) {
  return make(kStartWhileUpgrading, std::move(instance), std::move(version), std::move(target));
}

UpgradeError UpgradeError::StartWhilePartiallyUpgraded(std::string instance, std::string version, std::string stamped) {
  return make(kStartWhilePartiallyUpgraded, std::move(instance), std::move(version), std::move(stamped));
}

UpgradeError UpgradeError::StartOnAnotherVersion(std::string instance, std::string version, std::string product) {
  return make(kStartOnAnotherVersion, std::move(instance), std::move(version), std::move(product));
}

UpgradeError UpgradeError::StartWithStrayEntries(std::string instance, std::string version, std::string entries) {
  return make(kStartWithStrayEntries, std::move(instance), std::move(version), std::move(entries));
}

UpgradeError UpgradeError::SpecParseFailed(std::string version, std::string cause) {
  return make(kSpecParseFailed, std::move(version), std::move(cause));
}

UpgradeError UpgradeError::SpecSchemaUnsupported(std::string version, std::uint32_t found, std::uint32_t supported) {
  return make(kSpecSchemaUnsupported, std::move(version), found, supported);
}

UpgradeError UpgradeError::SpecReadFailed(std::string version, std::string path, std::string cause) {
  return make(kSpecReadFailed, std::move(version), std::move(path), std::move(cause));
}

UpgradeError UpgradeError::ContentMissing(std::string version, std::string entry, std::string path) {
  return make(kContentMissing, std::move(version), std::move(entry), std::move(path));
}

UpgradeError UpgradeError::ContentOrphan(std::string version, std::string path) {
  return make(kContentOrphan, std::move(version), std::move(path));
}

UpgradeError UpgradeError::ContentReadFailed(std::string version, std::string path, std::string cause) {
  return make(kContentReadFailed, std::move(version), std::move(path), std::move(cause));
}

UpgradeError UpgradeError::SpecChangesUnexpected(std::string version, std::string entry) {
  return make(kSpecChangesUnexpected, std::move(version), std::move(entry));
}

UpgradeError UpgradeError::UnknownFamily(std::string folder) {
  return make(kUnknownFamily, std::move(folder));
}

UpgradeError UpgradeError::ModifyTargetMissing(std::string version, std::string entry, std::string configmap) {
  return make(kModifyTargetMissing, std::move(version), std::move(entry), std::move(configmap));
}

UpgradeError UpgradeError::ModifyParseFailed(std::string version, std::string entry, std::string cause) {
  return make(kModifyParseFailed, std::move(version), std::move(entry), std::move(cause));
}

UpgradeError UpgradeError::ModifyRenderFailed(std::string version, std::string entry, std::string cause) {
  return make(kModifyRenderFailed, std::move(version), std::move(entry), std::move(cause));
}

UpgradeError UpgradeError::EditableRemoveFailed(std::string path, std::string cause) {
  return make(kEditableRemoveFailed, std::move(path), std::move(cause));
}

UpgradeError UpgradeError::ModifyPatternInvalid(std::string version, std::string entry, std::string pattern, std::string cause) {
  return make(kModifyPatternInvalid, std::move(version), std::move(entry), std::move(pattern), std::move(cause));
}

UpgradeError UpgradeError::VariantOutsideGroup(std::string version, std::string entry, std::string variant, std::string stripped) {
  return make(kVariantOutsideGroup, std::move(version), std::move(entry), std::move(variant), std::move(stripped));
}

UpgradeError UpgradeError::MergeNotImplemented(std::string version, std::string entry) {
  return make(kMergeNotImplemented, std::move(version), std::move(entry));
}

UpgradeError UpgradeError::ForeignAssetReadFailed(std::string path, std::string cause) {
  return make(kForeignAssetReadFailed, std::move(path), std::move(cause));
}

UpgradeError UpgradeError::OfflineSourceReadFailed(std::string path, std::string cause) {
  return make(kOfflineSourceReadFailed, std::move(path), std::move(cause));
}

UpgradeError UpgradeError::OfflineTargetWriteFailed(std::string path, std::string cause) {
  return make(kOfflineTargetWriteFailed, std::move(path), std::move(cause));
}

UpgradeError UpgradeError::OfflineTargetMissing(std::string version, std::string entry, std::string path) {
  return make(kOfflineTargetMissing, std::move(version), std::move(entry), std::move(path));
}

UpgradeError UpgradeError::TagKprofileReadFailed(std::string repository, std::string tag, std::string cause) {
  return make(kTagKprofileReadFailed, std::move(repository), std::move(tag), std::move(cause));
}

UpgradeError UpgradeError::PatchApplyFailed(std::string patch, std::string tag, std::string cause) {
  return make(kPatchApplyFailed, std::move(patch), std::move(tag), std::move(cause));
}

UpgradeError UpgradeError::DigestsReadFailed(std::string path, std::string cause) {
  return make(kDigestsReadFailed, std::move(path), std::move(cause));
}

UpgradeError UpgradeError::DigestsWriteFailed(std::string path, std::string cause) {
  return make(kDigestsWriteFailed, std::move(path), std::move(cause));
}

UpgradeError UpgradeError::ResolvedActionUnsupported(std::string version, std::string entry, std::string action) {
  return make(kResolvedActionUnsupported, std::move(version), std::move(entry), std::move(action));
}

}  // namespace base::error::upgrade
