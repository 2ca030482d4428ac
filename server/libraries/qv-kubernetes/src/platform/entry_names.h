#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// The names of a folder's entries in listing order, "." and ".." left out,
// as the system gives them. None when the folder cannot be listed; a listing
// that fails partway keeps the names read before. Unlike a directory
// iterator it builds no path per entry, which shows on folders of thousands.
std::vector<std::string> entry_names(const std::filesystem::path& folder);

}  // namespace platform
