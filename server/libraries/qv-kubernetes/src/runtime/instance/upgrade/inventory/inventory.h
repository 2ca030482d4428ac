#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/system/exit.h"
#include "platform/inside.h"
#include "result.h"

namespace runtime::instance::upgrade::inventory {

// One released version and whether it ships an upgrader.
struct InventoryEntry {
  // The version exactly as the document writes it.
  std::string version;
  bool upgrader = false;
};

// The document "upgrades.yaml": every released version, newest first.
struct Inventory {
  std::uint32_t schema = 0;
  std::vector<InventoryEntry> versions;
};

// Reads <kupgrade>/upgrades.yaml and checks it against the spec files of the
// upgrade tree: the versions strictly descending by PEP 440, no upgrader for
// the oldest, a spec file exactly for the versions that declare an upgrader.
// The inventory and the specs folder are opened through `reads`.
qv_common::Result<Inventory, core::system::exit::CommandError> read_inventory(
    const std::filesystem::path& kupgrade, const platform::Containment& reads = {});

}  // namespace runtime::instance::upgrade::inventory
