#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace runtime::instance::upgrade::offline {

// The names of the entries of `folder` by their variant-free name, each list
// in listing order. Entries of every kind count, hidden ones too; names are
// decoded as UTF-8 with invalid bytes replaced. A folder that cannot be
// listed yields nothing.
std::map<std::string, std::vector<std::string>, std::less<>> variants_by_group(const std::filesystem::path& folder);

// The names, in listing order, of the entries of `folder` whose variant-free
// name is `group`.
std::vector<std::string> bundle_variants(const std::filesystem::path& folder, std::string_view group);

}  // namespace runtime::instance::upgrade::offline
