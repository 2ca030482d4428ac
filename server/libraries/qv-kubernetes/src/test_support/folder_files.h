#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace test_support {

// Every regular file below a folder, by its path relative to that folder
// ("configs/app.yaml"), with its whole content.
using Files = std::map<std::string, std::string>;

// The files below `root` as they are now; none when it does not exist.
inline Files files_below(const std::filesystem::path& root) {
  namespace fs = std::filesystem;
  Files files;
  if (!fs::exists(root)) return files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ostringstream text;
    text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
    files.emplace(fs::relative(entry.path(), root).string(), text.str());
  }
  return files;
}

}  // namespace test_support
