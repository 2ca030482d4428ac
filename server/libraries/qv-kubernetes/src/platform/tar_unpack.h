#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "result.h"

namespace platform {

// Unpacks the regular files of the tar stream `archive_bytes` whose paths lie
// below `prefix_in_archive` (matched by whole path components) into
// `destination`, each at destination / (its path after the prefix), in
// archive order. Parent folders are created as needed; an existing file is
// replaced; the file gets the member's permission bits and modification
// time. Folder members, links and all other member types are skipped, so an
// archive without a regular file below the prefix creates nothing.
//
// A member whose path below the prefix has a ".." component is refused: it
// would be written outside `destination`. The first failure ends the unpack;
// files written before it stay.
qv_common::Result<void, std::string> unpack_tar_prefix(std::string_view archive_bytes,
                                                       const std::filesystem::path& prefix_in_archive,
                                                       const std::filesystem::path& destination);

}  // namespace platform
