#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/subprocess.h"
#include "test_support/temp_folder.h"

namespace test_support {

// A real git repository in a fresh temporary folder, with the paths of the
// repository layout the upgrader works on. Every git failure throws
// std::runtime_error carrying git's standard error.
class GitRepository {
 public:
  GitRepository() {
    git({"init", "-q"});
    git({"config", "user.name", "Test"});
    git({"config", "user.email", "test@example.invalid"});
    git({"config", "commit.gpgsign", "false"});
    git({"config", "tag.gpgsign", "false"});
  }

  const std::filesystem::path& root() const { return folder_.path(); }
  std::filesystem::path kprofile() const { return root() / "variant/resources/kprofile"; }
  std::filesystem::path kupgrade() const { return root() / "variant/resources/kupgrade"; }
  std::filesystem::path config() const { return root() / "variant/config/kupgrade"; }

  // Writes `content` to the file at `relative` to the root, creating its folders.
  std::filesystem::path write(const std::filesystem::path& relative, std::string_view content) const {
    return folder_.write(relative, content);
  }
  // Removes the file or folder at `relative` with everything in it.
  void remove(const std::filesystem::path& relative) const { std::filesystem::remove_all(root() / relative); }

  // variant/resources/kprofile/<family>/<file>
  std::filesystem::path write_kprofile(std::string_view family, std::string_view file,
                                       std::string_view content) const {
    return write(kprofile() / family / file, content);
  }
  // variant/resources/kupgrade/upgrades.yaml
  std::filesystem::path write_inventory(std::string_view content) const {
    return write(kupgrade() / "upgrades.yaml", content);
  }
  // variant/resources/kupgrade/upgrades/<version>.yaml
  std::filesystem::path write_spec(std::string_view version, std::string_view content) const {
    return write(kupgrade() / "upgrades" / (std::string(version) + ".yaml"), content);
  }
  // variant/resources/kupgrade/upgrades/<version>/<family>/<variant>
  std::filesystem::path write_content(std::string_view version, std::string_view family, std::string_view variant,
                                      std::string_view content) const {
    return write(kupgrade() / "upgrades" / version / family / variant, content);
  }
  // variant/config/kupgrade/patches/<version>.patch
  std::filesystem::path write_patch(std::string_view version, std::string_view content) const {
    return write(config() / "patches" / (std::string(version) + ".patch"), content);
  }
  // variant/config/kupgrade/digests.yaml
  std::filesystem::path write_digests(std::string_view content) const {
    return write(config() / "digests.yaml", content);
  }

  // Stages every change of the working tree and commits it.
  void commit(std::string_view message = "change") const {
    git({"add", "-A"});
    git({"commit", "-q", "--allow-empty", "-m", std::string(message)});
  }
  // A lightweight tag on the current commit.
  void tag(std::string_view name) const { git({"tag", std::string(name)}); }
  // Commits the working tree and tags the commit as the release `version`.
  void release(std::string_view version) const {
    commit("release " + std::string(version));
    tag(version);
  }

  // Runs git in the repository with `arguments`; returns its standard output.
  std::string git(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"git", "-C", root().string()});
    auto run = platform::run_process(arguments, std::nullopt);
    if (!run) throw std::runtime_error("git could not start: " + run.error());
    if (run->status != 0) throw std::runtime_error("git " + arguments[3] + " failed: " + run->error);
    return run->output;
  }

 private:
  TempFolder folder_;
};

}  // namespace test_support
