#pragma once

#include <filesystem>
#include <string>

#include "result.h"

namespace platform {

// Checks that the file or folder at `path`, its links followed, lies inside
// `folder` (whose own links are followed too), so that a link under a folder
// of untrusted content cannot lead a read out of it. A path that does not
// resolve (nothing there, a dangling link) passes: its reader finds it
// missing. The error says where the path leads.
qv_common::Result<void, std::string> check_inside(const std::filesystem::path& path,
                                                  const std::filesystem::path& folder);

}  // namespace platform
