#pragma once

#include <filesystem>
#include <optional>

namespace qv_server::absolute_path {

// Makes `path` absolute without touching the file system beyond reading the
// current folder: a relative path is appended to the current folder, "."
// components are dropped, repeated separators collapse, ".." stays, links are
// not resolved, a trailing separator stays and exactly two leading separators
// are kept. Empty when `path` is empty or the current folder cannot be read.
std::optional<std::filesystem::path> absolute_lexical(const std::filesystem::path& path);

}  // namespace qv_server::absolute_path
