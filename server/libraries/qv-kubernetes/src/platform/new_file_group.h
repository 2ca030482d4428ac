#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>

namespace platform {

// The group that a file created beside `path` gets: the folder's group when
// the folder has the set-group-ID bit, else this process's effective group.
// None when the folder cannot be looked at. The last folder looked at is
// remembered, since files are mostly written many to a folder in a row.
std::optional<gid_t> new_file_group(const std::filesystem::path& path);

}  // namespace platform
