// Runs `templates` of the built program on real git repositories and checks
// the printed report, the exit code and the folders written under --output.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "test_support/error_line.h"
#include "test_support/folder_files.h"
#include "test_support/git_repository.h"
#include "test_support/program.h"
#include "test_support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using test_support::Files;
using test_support::files_below;
using test_support::Finished;
using test_support::GitRepository;
using test_support::run_program;
using test_support::TempFolder;
using test_support::upgrade_error_line;

constexpr std::string_view kTwoVersions =
    "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n";

// The 1.0.0 kprofile as tagged, serving eks; it also holds the files that
// never reach a template.
const Files kKprofile100 = {{"assets/logo.txt", "logo\n"},
                            {"configs/app.yaml", "name: one\n"},
                            {"configs/app_eks.yaml", "name: one-eks\n"},
                            {"configs/bundle.yamls", "bundle\n"},
                            {"configs/quorvale-requirements.txt", "requirements\n"},
                            {"pods/web.yaml", "kind: Pod\n"}};

// The templates of both releases: 1.0.0 serves eks; the working kprofile of
// 1.1.0 serves eks and aks, and gives aks no asset.
const Files kTemplates100 = {{"1.0.0/eks/assets/logo.txt", "logo\n"},
                             {"1.0.0/eks/configs/app.yaml", "name: one-eks\n"},
                             {"1.0.0/eks/pods/web.yaml", "kind: Pod\n"}};
const Files kTemplates110 = {{"1.1.0/aks/configs/app.yaml", "name: two\n"},
                             {"1.1.0/aks/pods/web.yaml", "kind: AksPod\n"},
                             {"1.1.0/eks/assets/logo.txt", "eks logo\n"},
                             {"1.1.0/eks/configs/app.yaml", "name: one-eks\n"},
                             {"1.1.0/eks/pods/web.yaml", "kind: Pod\n"}};

// `files` with `prefix` put in front of every path.
Files under(const std::string& prefix, const Files& files) {
  Files moved;
  for (const auto& [path, text] : files) moved.emplace(prefix + path, text);
  return moved;
}

Files merged(Files a, const Files& b) {
  a.insert(b.begin(), b.end());
  return a;
}

// The 1.0.0 patch that changes the eks configuration.
constexpr std::string_view kEksPatch =
    "diff --git a/configs/app_eks.yaml b/configs/app_eks.yaml\n"
    "--- a/configs/app_eks.yaml\n+++ b/configs/app_eks.yaml\n"
    "@@ -1 +1 @@\n-name: one-eks\n+name: patched-eks\n";

class TemplatesCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [path, text] : kKprofile100) repo_.write("variant/resources/kprofile/" + path, text);
    repo_.release("1.0.0");
    repo_.write_kprofile("configs", "app.yaml", "name: two\n");
    repo_.write_kprofile("pods", "web_aks.yaml", "kind: AksPod\n");
    repo_.remove("variant/resources/kprofile/assets/logo.txt");
    repo_.write_kprofile("assets", "logo_eks.txt", "eks logo\n");
    repo_.write_inventory(kTwoVersions);
  }

  // Runs `templates` on the repository with `--output output` and `extra` options.
  Finished templates(const std::string& output, const std::vector<std::string>& extra = {},
                     std::optional<fs::path> working_folder = std::nullopt) const {
    std::vector<std::string> arguments = {"templates", "--repository", repo_.root().string(), "--output", output};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return run_program({.arguments = arguments, .working_folder = std::move(working_folder)});
  }

  // `message` with every "<r>" replaced by the repository root.
  std::string expand(std::string message) const {
    for (auto at = message.find("<r>"); at != std::string::npos; at = message.find("<r>")) {
      message.replace(at, 3, repo_.root().string());
    }
    return message;
  }

  GitRepository repo_;
  TempFolder work_;
};

TEST_F(TemplatesCommand, WritesOlderKprofilesAndEveryTemplate) {
  const fs::path output = work_.path() / "out";
  const Finished finished = templates(output.string());
  EXPECT_EQ(finished.out, "{\"folder\":\"" + output.string() + "/templates\"}\n");
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
  EXPECT_EQ(files_below(output),
            merged(under("kprofiles/1.0.0/", kKprofile100), under("templates/", merged(kTemplates100, kTemplates110))));
  for (const char* template_folder : {"1.0.0/eks", "1.1.0/eks", "1.1.0/aks"}) {
    for (const char* section : {"configs", "pods", "assets"}) {
      EXPECT_TRUE(fs::is_directory(output / "templates" / template_folder / section)) << template_folder << section;
    }
  }
}

TEST_F(TemplatesCommand, ReportsTheOutputPathAsPassed) {
  struct Case {
    std::string output;
    std::string folder;
  };
  const Case cases[] = {{"out", "out/templates"}, {"./nested/out/", "./nested/out/templates"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    TempFolder working;
    const Finished finished = templates(c.output, {}, working.path());
    EXPECT_EQ(finished.out, "{\"folder\":\"" + c.folder + "\"}\n");
    EXPECT_EQ(finished.err, "");
    EXPECT_EQ(finished.code, 0);
    EXPECT_EQ(files_below(working.path() / c.folder), merged(kTemplates100, kTemplates110));
  }
}

TEST_F(TemplatesCommand, AppliesTheReleasePatchToItsKprofile) {
  repo_.write_patch("1.0.0", kEksPatch);
  repo_.write_patch("1.1.0", "not a patch, and never applied to the newest version\n");
  const Finished finished = templates((work_.path() / "out").string());
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
  const Files written = files_below(work_.path() / "out");
  EXPECT_EQ(written.at("kprofiles/1.0.0/configs/app_eks.yaml"), "name: patched-eks\n");
  EXPECT_EQ(written.at("templates/1.0.0/eks/configs/app.yaml"), "name: patched-eks\n");
  EXPECT_EQ(written.at("templates/1.1.0/eks/configs/app.yaml"), "name: one-eks\n");
}

TEST_F(TemplatesCommand, AppliesThePatchWhereverTheOutputLies) {
  repo_.write_patch("1.0.0", kEksPatch);
  struct Case {
    std::string name;
    fs::path output;
    std::vector<test_support::Variable> environment;
  };
  const Case cases[] = {
      {"inside the repository", repo_.root() / "out", {}},
      {"inside a work tree named by the environment",
       work_.path() / "out",
       {{"GIT_DIR", (repo_.root() / ".git").string()}, {"GIT_WORK_TREE", work_.path().string()}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Finished finished = run_program(
        {.arguments = {"templates", "--repository", repo_.root().string(), "--output", c.output.string()},
         .environment = c.environment});
    EXPECT_EQ(finished.err, "");
    EXPECT_EQ(finished.code, 0);
    const Files written = files_below(c.output);
    EXPECT_EQ(written.at("kprofiles/1.0.0/configs/app_eks.yaml"), "name: patched-eks\n");
    EXPECT_EQ(written.at("templates/1.0.0/eks/configs/app.yaml"), "name: patched-eks\n");
  }
}

TEST_F(TemplatesCommand, FailuresPrintTheirLineAndKeepWhatWasWritten) {
  struct Case {
    std::string name;
    std::string inventory;
    std::string patch;  // the 1.0.0 patch, none when empty
    int code;
    std::string message;
    Files after;  // the files under --output afterwards
  };
  const std::string three_versions = std::string(kTwoVersions) + "  - {version: 0.9.0, upgrader: false}\n";
  const Case cases[] = {
      {"a release without its tag",
       three_versions,
       "",
       5359,
       "Could not read the kprofile of tag '0.9.0' from '<r>': fatal: not a valid object name: 0.9.0. Every released "
       "version needs its tag; fetch them with 'git fetch --tags'.",
       {}},
      {"a patch that does not apply", std::string(kTwoVersions),
       "diff --git a/configs/app.yaml b/configs/app.yaml\n--- a/configs/app.yaml\n+++ b/configs/app.yaml\n"
       "@@ -1 +1 @@\n-name: other\n+name: patched\n",
       5360,
       "The patch '<r>/variant/config/kupgrade/patches/1.0.0.patch' does not apply to the kprofile of tag '1.0.0': "
       "error: patch failed: configs/app.yaml:1\nerror: configs/app.yaml: patch does not apply.",
       under("kprofiles/1.0.0/", kKprofile100)},
      {"an inventory that is not newest first",
       "schema: 1\nversions:\n  - {version: 1.0.0, upgrader: false}\n  - {version: 1.1.0, upgrader: false}\n",
       "",
       5315,
       "The upgrade inventory is not sorted newest first: '1.1.0' appears after '1.0.0'.",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder output;
    repo_.write_inventory(c.inventory);
    if (!c.patch.empty()) repo_.write_patch("1.0.0", c.patch);
    const Finished finished = templates((output.path() / "out").string());
    EXPECT_EQ(finished.out, "");
    EXPECT_EQ(finished.err, upgrade_error_line(c.code, expand(c.message)));
    EXPECT_EQ(finished.code, 1);
    EXPECT_EQ(files_below(output.path() / "out"), c.after);
    repo_.remove("variant/config");
  }
}

TEST_F(TemplatesCommand, KupgradeOptionReplacesTheRepositoryTree) {
  repo_.write_inventory(
      "schema: 1\nversions:\n  - {version: 1.0.0, upgrader: false}\n"
      "  - {version: 1.1.0, upgrader: false}\n");
  work_.write("tree/upgrades.yaml", "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n");
  const Finished finished = templates("out", {"--kupgrade", "tree"}, work_.path());
  EXPECT_EQ(finished.out, "{\"folder\":\"out/templates\"}\n");
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
  EXPECT_EQ(files_below(work_.path() / "out"), under("templates/", kTemplates110));
}

}  // namespace
