#include "runtime/instance/upgrade/inventory/inventory.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <cstring>
#include <optional>

#include "base/error/upgrade.h"
#include "platform/entry_names.h"
#include "platform/text_file.h"
#include "platform/utf8.h"
#include "qv_yaml/parse.h"
#include "qv_yaml/read.h"
#include "runtime/instance/upgrade/catalog.h"
#include "runtime/instance/upgrade/inventory/pep440.h"

namespace runtime::instance::upgrade::inventory {
namespace {

namespace fs = std::filesystem;
namespace read = qv_yaml::read;
using base::error::UpgradeError;
using core::system::exit::CommandError;
using qv_common::fail;
using qv_yaml::Value;
using Checked = qv_common::Result<void, CommandError>;

constexpr std::uint32_t kSupportedSchema = 1;

read::ReadResult<InventoryEntry> read_entry(const Value& node) {
  if (!node.is_mapping()) return fail(read::invalid_type(node, "struct InventoryEntry"));
  static constexpr std::array<std::string_view, 2> kFields = {"version", "upgrader"};
  InventoryEntry entry;
  QV_ASSIGN_OR_RETURN(const std::vector<bool> given,
                      read::read_record(node.as_mapping(), {kFields, read::UnknownKeys::kIgnore},
                                        [&](std::size_t field, const Value& value) {
                                          return field == 0 ? read::assign(entry.version, read::scalar_text(value))
                                                            : read::assign(entry.upgrader, read::boolean(value));
                                        }));
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    if (!given[i]) return fail(read::missing_field(kFields[i], node.mark()));
  }
  return entry;
}

read::ReadResult<std::vector<InventoryEntry>> read_entries(const Value& node) {
  if (!node.is_sequence()) return fail(read::invalid_type(node, "a sequence"));
  std::vector<InventoryEntry> entries;
  for (const Value& item : node.as_sequence()) {
    QV_ASSIGN_OR_RETURN(InventoryEntry entry, read_entry(item));
    entries.push_back(std::move(entry));
  }
  return entries;
}

read::ReadResult<Inventory> read_document(const Value& node) {
  if (!node.is_mapping()) return fail(read::invalid_type(node, "struct Inventory"));
  static constexpr std::array<std::string_view, 2> kFields = {"schema", "versions"};
  Inventory inventory;
  QV_ASSIGN_OR_RETURN(const std::vector<bool> given,
                      read::read_record(node.as_mapping(), {kFields, read::UnknownKeys::kIgnore},
                                        [&](std::size_t field, const Value& value) {
                                          return field == 0 ? read::assign(inventory.schema, read::u32(value))
                                                            : read::assign(inventory.versions, read_entries(value));
                                        }));
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    if (!given[i]) return fail(read::missing_field(kFields[i], node.mark()));
  }
  return inventory;
}

qv_common::Result<Inventory, CommandError> parse_inventory(const std::string& text) {
  auto document = qv_yaml::parse_single(text, {.reject_duplicate_keys = false});
  if (!document) return fail(UpgradeError::InventoryParseFailed(document.error()));
  auto inventory = read_document(*document);
  if (!inventory) return fail(UpgradeError::InventoryParseFailed(inventory.error().text()));
  return std::move(*inventory);
}

// Each version parses and is strictly older than the one before it.
Checked check_order(const Inventory& inventory) {
  std::optional<pep440::Version> previous;
  for (const InventoryEntry& entry : inventory.versions) {
    auto version = pep440::Version::parse(entry.version);
    if (!version) return fail(UpgradeError::VersionParseFailed(entry.version, version.error()));
    if (previous) {
      if (*version == *previous) return fail(UpgradeError::InventoryDuplicateVersion(entry.version));
      if (*version > *previous) {
        return fail(UpgradeError::InventoryNotDescending(entry.version, previous->normalized()));
      }
    }
    previous = std::move(*version);
  }
  return {};
}

// The specs folder "upgrades", opened once so that every look into it goes
// to the folder that was opened; none when there is no such folder.
qv_common::Result<platform::UniqueFd, CommandError> open_specs(const fs::path& kupgrade,
                                                               const platform::Containment& reads) {
  const fs::path folder = kupgrade / "upgrades";
  platform::Opened opened = reads.open(folder, O_RDONLY | O_DIRECTORY);
  if (opened) return std::move(*opened);
  if (opened.error().missing()) return platform::UniqueFd();
  return fail(UpgradeError::SpecsReadFailed(platform::display(folder), opened.error().cause));
}

// Whether `name` in the specs folder is a regular file, links followed.
bool regular_file(const platform::UniqueFd& specs, const std::string& name) {
  struct stat status;
  return specs && ::fstatat(specs.get(), name.c_str(), &status, 0) == 0 && S_ISREG(status.st_mode);
}

Checked check_specs(const Inventory& inventory, const fs::path& kupgrade, const platform::UniqueFd& specs) {
  for (const InventoryEntry& entry : inventory.versions) {
    // A version that parsed holds no separator: its spec is one name in the folder.
    const bool present = regular_file(specs, entry.version + ".yaml");
    const fs::path spec = catalog::spec_path(kupgrade, entry.version);
    if (entry.upgrader && !present) return fail(UpgradeError::SpecMissing(entry.version, platform::display(spec)));
    if (!entry.upgrader && present) return fail(UpgradeError::SpecUnexpected(entry.version, platform::display(spec)));
  }
  return {};
}

bool claims(const Inventory& inventory, const std::string& stem) {
  for (const InventoryEntry& entry : inventory.versions) {
    if (entry.upgrader && entry.version == stem) return true;
  }
  return false;
}

// Every spec file in the upgrades folder belongs to a version with an upgrader.
Checked check_orphans(const Inventory& inventory, const fs::path& kupgrade, const platform::UniqueFd& specs) {
  if (!specs) return {};
  const fs::path folder = kupgrade / "upgrades";
  const platform::Listing listing = platform::list_folder(specs);
  for (const platform::FolderEntry& entry : listing.entries) {
    const fs::path name(entry.name);
    if (name.extension() != ".yaml" || !regular_file(specs, entry.name)) continue;
    const std::string stem = name.stem().string();
    if (!platform::is_valid_utf8(stem)) continue;
    if (!claims(inventory, stem)) return fail(UpgradeError::SpecOrphan(stem, platform::display(folder / name)));
  }
  if (listing.error != 0) {
    return fail(UpgradeError::SpecsReadFailed(platform::display(folder), std::strerror(listing.error)));
  }
  return {};
}

}  // namespace

qv_common::Result<Inventory, CommandError> read_inventory(const fs::path& kupgrade,
                                                          const platform::Containment& reads) {
  const fs::path path = kupgrade / "upgrades.yaml";
  auto text = platform::read_text(path, reads);
  if (!text) return fail(UpgradeError::InventoryReadFailed(platform::display(path), text.error()));
  QV_ASSIGN_OR_RETURN(const platform::UniqueFd specs, open_specs(kupgrade, reads));
  QV_ASSIGN_OR_RETURN(Inventory inventory, parse_inventory(*text));
  if (inventory.schema != kSupportedSchema) {
    return fail(UpgradeError::InventorySchemaUnsupported(inventory.schema, kSupportedSchema));
  }
  if (inventory.versions.empty()) return fail(UpgradeError::InventoryEmpty());
  QV_RETURN_IF_ERROR(check_order(inventory));
  if (inventory.versions.back().upgrader) {
    return fail(UpgradeError::InventoryFloorHasUpgrader(inventory.versions.back().version));
  }
  QV_RETURN_IF_ERROR(check_specs(inventory, kupgrade, specs));
  QV_RETURN_IF_ERROR(check_orphans(inventory, kupgrade, specs));
  return inventory;
}

}  // namespace runtime::instance::upgrade::inventory
