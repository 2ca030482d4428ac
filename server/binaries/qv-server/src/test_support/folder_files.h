#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace test_support {

// Every regular file below a folder, by its path relative to that folder
// ("configs/app.yaml"), with its whole content.
using Files = std::map<std::string, std::string>;

// The files below `root` as they are now; none when it does not exist.
Files files_below(const std::filesystem::path& root);

}  // namespace test_support
