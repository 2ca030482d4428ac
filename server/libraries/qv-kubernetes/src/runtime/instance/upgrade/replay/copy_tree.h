#pragma once

#include <filesystem>
#include <string>

#include "result.h"

namespace runtime::instance::upgrade::replay {

// Copies the content of the folder `src` into `dst`, creating `dst` with its
// parents. Folders (links not followed) are copied recursively; anything else
// is copied as a file, content and permission bits, following links and
// replacing an existing file. The first failure ends the copy, and what was
// copied stays; the error is the system's reason.
qv_common::Result<void, std::string> copy_tree(const std::filesystem::path& src, const std::filesystem::path& dst);

// Makes `dst` a fresh copy of `src`: removes `dst` with all its content when
// it exists, then copies.
qv_common::Result<void, std::string> reset_tree(const std::filesystem::path& src, const std::filesystem::path& dst);

}  // namespace runtime::instance::upgrade::replay
