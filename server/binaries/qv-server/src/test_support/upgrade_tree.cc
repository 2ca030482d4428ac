#include "test_support/upgrade_tree.h"

#include <fstream>

namespace test_support {
namespace {

namespace fs = std::filesystem;

void write_below(const fs::path& root, const Files& files) {
  for (const auto& [relative, text] : files) {
    const fs::path file = root / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
  }
}

std::string replace_all(std::string text, std::string_view token, std::string_view by) {
  for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + by.size())) {
    text.replace(at, token.size(), by);
  }
  return text;
}

}  // namespace

void UpgradeTree::spec(std::string_view version, std::string_view text) const {
  write_below(kupgrade() / "upgrades", {{std::string(version) + ".yaml", std::string(text)}});
}

void UpgradeTree::content(std::string_view version, const Files& files) const {
  write_below(kupgrade() / "upgrades" / version, files);
}

void UpgradeTree::upgrade_files(const Files& files) const { write_below(kupgrade(), files); }

void UpgradeTree::profile(const Files& files) const {
  fs::create_directories(kprofile());
  write_below(kprofile(), files);
}

Files UpgradeTree::profile_files() const { return files_below(kprofile()); }

Finished UpgradeTree::upgrade(std::string_view version) const {
  return run_program({.arguments = {"upgrade", "--kupgrade", kupgrade().string(), "--kprofile", kprofile().string(),
                                    "--version", std::string(version)}});
}

std::string UpgradeTree::expand(std::string_view text) const {
  return replace_all(replace_all(std::string(text), "<k>", kupgrade().string()), "<p>", kprofile().string());
}

}  // namespace test_support
