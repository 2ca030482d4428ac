#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "base/error/enumeration.h"

namespace base::error::upgrade {

// Failures of the upgrade, replay, template and digest work. Codes 5300-5304
// upgrade lock, 5310-5326 inventory and versions, 5330-5333 instance start
// checks, 5340-5363 spec, content, application, templates and digests.
class UpgradeError : public catalog::Enumeration<UpgradeError> {
 public:
  static UpgradeError LockParseFailed(std::string cause);
  static UpgradeError LockRenderFailed(std::string cause);
  static UpgradeError AlreadyLocked(std::string instance, std::string id, std::string timestamp);
  static UpgradeError LockLost(std::string instance);
  static UpgradeError LockAbsent(std::string instance);
  static UpgradeError VersionParseFailed(std::string version, std::string cause);
  static UpgradeError InventoryParseFailed(std::string cause);
  static UpgradeError InventorySchemaUnsupported(std::uint32_t found, std::uint32_t supported);
  static UpgradeError InventoryEmpty();
  static UpgradeError InventoryDuplicateVersion(std::string version);
  static UpgradeError InventoryNotDescending(std::string version, std::string after);
  static UpgradeError InventoryFloorHasUpgrader(std::string version);
  static UpgradeError VersionBelowFloor(std::string version, std::string floor);
  static UpgradeError VersionNotInInventory(std::string version, std::string newest);
  static UpgradeError ProductOlderThanInstance(std::string product, std::string instance);
  static UpgradeError KupgradePathInvalid(std::string path);
  static UpgradeError InventoryReadFailed(std::string path, std::string cause);
  static UpgradeError SpecMissing(std::string version, std::string path);
  static UpgradeError SpecUnexpected(std::string version, std::string path);
  static UpgradeError SpecOrphan(std::string version, std::string path);
  static UpgradeError SpecsReadFailed(std::string path, std::string cause);
  static UpgradeError TargetMismatch(std::string instance, std::string target, std::string product);
  static UpgradeError StartWhileUpgrading(std::string instance, std::string version, std::string target);
  static UpgradeError StartWhilePartiallyUpgraded(std::string instance, std::string version, std::string stamped);
  static UpgradeError StartOnAnotherVersion(std::string instance, std::string version, std::string product);
  static UpgradeError StartWithStrayEntries(std::string instance, std::string version, std::string entries);
  static UpgradeError SpecParseFailed(std::string version, std::string cause);
  static UpgradeError SpecSchemaUnsupported(std::string version, std::uint32_t found, std::uint32_t supported);
  static UpgradeError SpecReadFailed(std::string version, std::string path, std::string cause);
  static UpgradeError ContentMissing(std::string version, std::string entry, std::string path);
  static UpgradeError ContentOrphan(std::string version, std::string path);
  static UpgradeError ContentReadFailed(std::string version, std::string path, std::string cause);
  static UpgradeError SpecChangesUnexpected(std::string version, std::string entry);
  static UpgradeError UnknownFamily(std::string folder);
  static UpgradeError ModifyTargetMissing(std::string version, std::string entry, std::string configmap);
  static UpgradeError ModifyParseFailed(std::string version, std::string entry, std::string cause);
  static UpgradeError ModifyRenderFailed(std::string version, std::string entry, std::string cause);
  static UpgradeError EditableRemoveFailed(std::string path, std::string cause);
  static UpgradeError ModifyPatternInvalid(std::string version, std::string entry, std::string pattern, std::string cause);
  static UpgradeError VariantOutsideGroup(std::string version, std::string entry, std::string variant, std::string stripped);
  static UpgradeError MergeNotImplemented(std::string version, std::string entry);
  static UpgradeError ForeignAssetReadFailed(std::string path, std::string cause);
  static UpgradeError OfflineSourceReadFailed(std::string path, std::string cause);
  static UpgradeError OfflineTargetWriteFailed(std::string path, std::string cause);
  static UpgradeError OfflineTargetMissing(std::string version, std::string entry, std::string path);
  static UpgradeError TagKprofileReadFailed(std::string repository, std::string tag, std::string cause);
  static UpgradeError PatchApplyFailed(std::string patch, std::string tag, std::string cause);
  static UpgradeError DigestsReadFailed(std::string path, std::string cause);
  static UpgradeError DigestsWriteFailed(std::string path, std::string cause);
  static UpgradeError ResolvedActionUnsupported(std::string version, std::string entry, std::string action);

 private:
  friend Enumeration;
  explicit UpgradeError(catalog::Entry entry) : Enumeration(std::move(entry)) {}
};

}  // namespace base::error::upgrade

namespace base::error {
using upgrade::UpgradeError;
}  // namespace base::error
