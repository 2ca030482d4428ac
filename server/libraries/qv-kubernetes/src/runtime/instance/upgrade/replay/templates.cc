#include "runtime/instance/upgrade/replay/templates.h"

#include <algorithm>

namespace runtime::instance::upgrade::replay {

bool Release::serves(provider::ClusterProvider provider) const {
  return std::find(providers.begin(), providers.end(), provider) != providers.end();
}

std::filesystem::path Templates::folder_of(std::string_view version, provider::ClusterProvider provider) const {
  return root / version / provider::as_str(provider);
}

std::vector<const Release*> Templates::released() const {
  std::vector<const Release*> older;
  for (const Release& release : releases) {
    if (release.entry.version != newest) older.push_back(&release);
  }
  return older;
}

}  // namespace runtime::instance::upgrade::replay
