#include "test_support/folder_files.h"

#include <fstream>
#include <sstream>

namespace test_support {

Files files_below(const std::filesystem::path& root) {
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
