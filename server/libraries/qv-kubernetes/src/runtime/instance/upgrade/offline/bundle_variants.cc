#include "runtime/instance/upgrade/offline/bundle_variants.h"

#include <system_error>

#include "runtime/instance/profile/bundle.h"
#include "platform/utf8.h"

namespace runtime::instance::upgrade::offline {

std::vector<std::string> bundle_variants(const std::filesystem::path& folder, std::string_view group) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string name = platform::lossy_utf8(it->path().filename().native());
    if (profile::bundle::parse_filename(name).render_stripped() == group) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace runtime::instance::upgrade::offline
