#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

namespace platform {

// The names of a folder's entries in listing order, "." and ".." left out,
// as the system gives them. None when the folder cannot be listed; a listing
// that fails partway keeps the names read before. Unlike a directory
// iterator it builds no path per entry, which shows on folders of thousands.
std::vector<std::string> entry_names(const std::filesystem::path& folder);

// One entry of a listing: its name, and its type as the listing gives it
// (a DT_ value; DT_UNKNOWN where the file system does not tell).
struct FolderEntry {
  std::string name;
  unsigned char type;
};

// What a listing read: the entries in listing order, and the system's error
// number when it failed (0 when it read the whole folder).
struct Listing {
  std::vector<FolderEntry> entries;
  int error = 0;
};

// Lists the open folder `folder` from its start, "." and ".." left out.
Listing list_folder(const UniqueFd& folder);

}  // namespace platform
