#pragma once

#include <filesystem>
#include <string>

#include "result.h"

// Folders written below a target folder that may hold links left by others:
// a link in the way is replaced, never followed, so nothing is written or
// removed outside the target.
namespace platform {

// Creates `base` with its parents (links followed: that path is the
// caller's), then each folder of `relative` below it that is missing. A link
// standing where one of those folders should be is replaced by a folder.
qv_common::Result<void, std::string> make_real_folders(const std::filesystem::path& base,
                                                       const std::filesystem::path& relative);

// Removes what is at `path`: a folder with everything in it, anything else
// (a link included, whose target stays) by itself. Nothing there is success.
qv_common::Result<void, std::string> remove_entry(const std::filesystem::path& path);

}  // namespace platform
