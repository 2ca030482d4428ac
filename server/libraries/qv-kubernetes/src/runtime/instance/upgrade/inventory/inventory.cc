#include "runtime/instance/upgrade/inventory/inventory.h"

#include <array>
#include <optional>

#include "base/error/upgrade.h"
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

qv_common::Result<Inventory, CommandError> parse_inventory(const fs::path& path) {
  auto text = platform::read_text(path);
  if (!text) return fail(UpgradeError::InventoryReadFailed(platform::display(path), text.error()));
  auto document = qv_yaml::parse_single(*text, {.reject_duplicate_keys = false});
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

bool regular_file(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

Checked check_specs(const Inventory& inventory, const fs::path& kupgrade) {
  for (const InventoryEntry& entry : inventory.versions) {
    const fs::path spec = catalog::spec_path(kupgrade, entry.version);
    const bool present = regular_file(spec);
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
Checked check_orphans(const Inventory& inventory, const fs::path& kupgrade) {
  const fs::path folder = kupgrade / "upgrades";
  std::error_code error;
  if (!fs::is_directory(folder, error)) return {};
  auto listing_failed = [&](const std::error_code& cause) {
    return fail(UpgradeError::SpecsReadFailed(platform::display(folder), cause.message()));
  };
  fs::directory_iterator it(folder, error);
  if (error) return listing_failed(error);
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) return listing_failed(error);
    const fs::path& path = it->path();
    if (path.extension() != ".yaml" || !regular_file(path)) continue;
    const std::string stem = path.stem().string();
    if (!platform::is_valid_utf8(stem)) continue;
    if (!claims(inventory, stem)) return fail(UpgradeError::SpecOrphan(stem, platform::display(path)));
  }
  if (error) return listing_failed(error);
  return {};
}

}  // namespace

qv_common::Result<Inventory, CommandError> read_inventory(const fs::path& kupgrade) {
  QV_ASSIGN_OR_RETURN(Inventory inventory, parse_inventory(kupgrade / "upgrades.yaml"));
  if (inventory.schema != kSupportedSchema) {
    return fail(UpgradeError::InventorySchemaUnsupported(inventory.schema, kSupportedSchema));
  }
  if (inventory.versions.empty()) return fail(UpgradeError::InventoryEmpty());
  QV_RETURN_IF_ERROR(check_order(inventory));
  if (inventory.versions.back().upgrader) {
    return fail(UpgradeError::InventoryFloorHasUpgrader(inventory.versions.back().version));
  }
  QV_RETURN_IF_ERROR(check_specs(inventory, kupgrade));
  QV_RETURN_IF_ERROR(check_orphans(inventory, kupgrade));
  return inventory;
}

}  // namespace runtime::instance::upgrade::inventory
