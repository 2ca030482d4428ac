#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/instance/upgrade/inventory/inventory.h"
#include "runtime/provider.h"

namespace runtime::instance::upgrade::replay {

// One release and the providers its kprofile serves, in replay order.
struct Release {
  inventory::InventoryEntry entry;
  std::vector<provider::ClusterProvider> providers;

  bool serves(provider::ClusterProvider provider) const;
};

// The materialised templates of every release.
struct Templates {
  // <target>/templates, the parent of every template folder.
  std::filesystem::path root;
  // The version of the newest release.
  std::string newest;
  // Oldest first.
  std::vector<Release> releases;

  // <root>/<version>/<provider>; whether it exists is not looked at.
  std::filesystem::path folder_of(std::string_view version, provider::ClusterProvider provider) const;
  // Every release but the newest, oldest first.
  std::vector<const Release*> released() const;
};

}  // namespace runtime::instance::upgrade::replay
