#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "result.h"

// Whole-file reads and writes whose failures are the cause's message text.
namespace platform {

// The file's bytes.
qv_common::Result<std::string, std::string> read_bytes(const std::filesystem::path& path);
// The file's bytes, which must be UTF-8 text.
qv_common::Result<std::string, std::string> read_text(const std::filesystem::path& path);
// Creates or truncates the file and writes `content` as its whole content.
qv_common::Result<void, std::string> write_file(const std::filesystem::path& path, std::string_view content);

}  // namespace platform
