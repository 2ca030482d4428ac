// Runs `replay` of the built program on real git repositories and checks the
// printed mismatches, the exit code, the diverged folder and that no
// temporary folder is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "test_support/error_line.h"
#include "test_support/folder_files.h"
#include "test_support/git_repository.h"
#include "test_support/program.h"
#include "test_support/report_json.h"
#include "test_support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using test_support::Files;
using test_support::files_below;
using test_support::Finished;
using test_support::GitRepository;
using test_support::json_list;
using test_support::mismatch_json;
using test_support::ProgramOptions;
using test_support::run_program;
using test_support::TempFolder;
using test_support::upgrade_error_line;

constexpr std::string_view kInventory =
    "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: true}\n  - {version: 1.0.0, upgrader: false}\n";

// The 1.1.0 upgrader that brings the eks configuration up to date and nothing else.
constexpr std::string_view kPartialSpec = "schema: 1\nconfigs:\n  app.yaml: {app_eks.yaml: {action: replace}}\n";

// The 1.1.0 upgrader that makes every 1.0.0 template equal to its 1.1.0 template.
constexpr std::string_view kSoundSpec =
    "schema: 1\n"
    "assets:\n  logo.txt: {logo.txt: {action: replace}}\n"
    "configs:\n"
    "  app.yaml: {app_eks.yaml: {action: replace}}\n"
    "  new.yaml: {new.yaml: {action: create}}\n"
    "  old.yaml: {old.yaml: {action: delete}}\n";

// kminus is served by no release; eks is served by both and its hop leaves
// configs/old.yaml over, misses configs/new.yaml and differs in assets/logo.txt;
// aks is not served by 1.1.0; gke is served by 1.1.0 only and has no hop.
const std::string kDivergingReport =
    "{\"mismatches\":" +
    json_list({mismatch_json("kminus", "1.1.0", "", "is served by no version's kprofile"),
               mismatch_json("eks", "1.1.0", "configs/new.yaml", "is missing"),
               mismatch_json("eks", "1.1.0", "configs/old.yaml", "is left over"),
               mismatch_json("eks", "1.1.0", "assets/logo.txt", "differs"),
               mismatch_json("aks", "1.1.0", "", "is no longer served by this version's kprofile")}) +
    "}\n";

class ReplayCommand : public ::testing::Test {
 protected:
  // Release 1.0.0 serves eks and aks; the working tree starts as its copy.
  void SetUp() override {
    repo_.write_kprofile("configs", "app_eks.yaml", "name: one\n");
    repo_.write_kprofile("configs", "keep.yaml", "k: 1\n");
    repo_.write_kprofile("configs", "old.yaml", "o: 1\n");
    repo_.write_kprofile("pods", "web.yaml", "kind: Pod\n");
    repo_.write_kprofile("pods", "web_aks.yaml", "kind: AksPod\n");
    repo_.write_kprofile("assets", "logo.txt", "logo\n");
    repo_.release("1.0.0");
    repo_.write_inventory(kInventory);
    repo_.write_content("1.1.0", "configs", "app_eks.yaml", "name: two\n");
    repo_.write_kprofile("configs", "app_eks.yaml", "name: two\n");
    repo_.remove("variant/resources/kprofile/configs/old.yaml");
    repo_.write_kprofile("configs", "new.yaml", "n: 1\n");
    repo_.write_kprofile("assets", "logo.txt", "logo 2\n");
    repo_.write_kprofile("pods", "web_gke.yaml", "kind: GkePod\n");
  }

  // 1.1.0 serves kminus, eks, aks and gke, and its upgrader is sound.
  void write_sound_release() const {
    repo_.write_kprofile("pods", "web_kminus.yaml", "kind: KminusPod\n");
    repo_.write_spec("1.1.0", kSoundSpec);
    repo_.write_content("1.1.0", "configs", "new.yaml", "n: 1\n");
    repo_.write_content("1.1.0", "assets", "logo.txt", "logo 2\n");
  }

  // 1.1.0 no longer serves aks, and its upgrader leaves eks diverging.
  void write_diverging_release() const {
    repo_.remove("variant/resources/kprofile/pods/web_aks.yaml");
    repo_.write_spec("1.1.0", kPartialSpec);
  }

  Finished replay(const std::vector<std::string>& extra = {}, ProgramOptions options = {}) const {
    options.arguments = {"replay", "--repository", repo_.root().string()};
    options.arguments.insert(options.arguments.end(), extra.begin(), extra.end());
    return run_program(options);
  }

  GitRepository repo_;
  TempFolder work_;
};

TEST_F(ReplayCommand, SoundUpgradersReportNothing) {
  write_sound_release();
  const Finished finished = replay();
  EXPECT_EQ(finished.out, "{\"mismatches\":[]}\n");
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
}

TEST_F(ReplayCommand, MismatchesComeByProviderThenSectionThenName) {
  write_diverging_release();
  const Finished finished = replay();
  EXPECT_EQ(finished.out, kDivergingReport);
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
}

TEST_F(ReplayCommand, DivergedFolderKeepsTheUpgradedStateOfEachDivergingHop) {
  write_diverging_release();
  const Finished finished = replay({"--diverged", "diverged"}, {.working_folder = work_.path()});
  EXPECT_EQ(finished.out, kDivergingReport);
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
  const Files upgraded = {{"eks/1.1.0/assets/logo.txt", "logo\n"},
                          {"eks/1.1.0/configs/app.yaml", "name: two\n"},
                          {"eks/1.1.0/configs/keep.yaml", "k: 1\n"},
                          {"eks/1.1.0/configs/old.yaml", "o: 1\n"},
                          {"eks/1.1.0/pods/web.yaml", "kind: Pod\n"}};
  EXPECT_EQ(files_below(work_.path() / "diverged"), upgraded);
}

TEST_F(ReplayCommand, KupgradeOptionReplacesTheRepositoryTree) {
  write_sound_release();
  work_.write("tree/upgrades.yaml", kInventory);
  work_.write("tree/upgrades/1.1.0.yaml", "schema: 1\n");
  const Finished finished = replay({"--kupgrade", (work_.path() / "tree").string()});
  const std::vector<std::string> unchanged = {mismatch_json("eks", "1.1.0", "configs/app.yaml", "differs"),
                                              mismatch_json("eks", "1.1.0", "configs/new.yaml", "is missing"),
                                              mismatch_json("eks", "1.1.0", "configs/old.yaml", "is left over"),
                                              mismatch_json("eks", "1.1.0", "assets/logo.txt", "differs"),
                                              mismatch_json("aks", "1.1.0", "configs/new.yaml", "is missing"),
                                              mismatch_json("aks", "1.1.0", "configs/old.yaml", "is left over"),
                                              mismatch_json("aks", "1.1.0", "assets/logo.txt", "differs")};
  EXPECT_EQ(finished.out, "{\"mismatches\":" + json_list(unchanged) + "}\n");
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
}

TEST_F(ReplayCommand, FailingUpgraderEndsTheReplayWithItsErrorOnly) {
  struct Case {
    std::string name;
    std::string spec;
    int code;
    std::string message;
  };
  const Case cases[] = {
      {"a step that fails", "schema: 1\nconfigs:\n  app.yaml: {app_eks.yaml: {action: merge}}\n", 5354,
       "The upgrade to '1.1.0' asks to merge 'configs/app.yaml', but the merge action is not implemented yet."},
      {"a spec that does not load", "schema: 2\n", 5341,
       "The upgrade spec of version '1.1.0' declares schema 2; this quorvale supports 1."},
  };
  write_diverging_release();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    repo_.write_spec("1.1.0", c.spec);
    const Finished finished = replay({"--diverged", (work_.path() / "diverged").string()});
    EXPECT_EQ(finished.out, "");
    EXPECT_EQ(finished.err, upgrade_error_line(c.code, c.message));
    EXPECT_EQ(finished.code, 1);
    EXPECT_FALSE(fs::exists(work_.path() / "diverged"));
  }
}

TEST_F(ReplayCommand, LeavesNoTemporaryFolderBehind) {
  struct Case {
    std::string name;
    std::string spec;
    std::optional<std::string> tag_to_drop;
    int code;
  };
  const Case cases[] = {
      {"a replay with mismatches", std::string(kPartialSpec), std::nullopt, 0},
      {"a failing step", "schema: 1\nconfigs:\n  app.yaml: {app_eks.yaml: {action: merge}}\n", std::nullopt, 1},
      {"a release without its tag", std::string(kPartialSpec), "1.0.0", 1},
  };
  write_diverging_release();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    repo_.write_spec("1.1.0", c.spec);
    if (c.tag_to_drop) repo_.git({"tag", "-d", *c.tag_to_drop});
    TempFolder temporary;
    const Finished finished = replay({}, {.environment = {{"TMPDIR", temporary.path().string()}}});
    EXPECT_EQ(finished.code, c.code) << finished.err;
    EXPECT_TRUE(fs::is_empty(temporary.path()));
  }
}

TEST_F(ReplayCommand, AppliesPatchesWithTheTemporaryFolderInsideACheckout) {
  write_sound_release();
  repo_.write_kprofile("configs", "keep.yaml", "k: 2\n");
  repo_.write_patch("1.0.0",
                    "diff --git a/configs/keep.yaml b/configs/keep.yaml\n"
                    "--- a/configs/keep.yaml\n+++ b/configs/keep.yaml\n"
                    "@@ -1 +1 @@\n-k: 1\n+k: 2\n");
  const fs::path temporary = repo_.root() / "tmp";
  fs::create_directories(temporary);
  const Finished finished = replay({}, {.environment = {{"TMPDIR", temporary.string()}}});
  EXPECT_EQ(finished.out, "{\"mismatches\":[]}\n");
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
  EXPECT_TRUE(fs::is_empty(temporary));
}

TEST_F(ReplayCommand, ScratchFolderIsMadeInTheSystemTemporaryFolder) {
  write_diverging_release();
  const std::string missing = (work_.path() / "missing").string();
  const Finished finished = replay({}, {.environment = {{"TMPDIR", missing}}});
  EXPECT_EQ(finished.out, "");
  EXPECT_EQ(finished.err, upgrade_error_line(5357, "Could not write the upgraded file at '" + missing +
                                                       "': No such file or directory."));
  EXPECT_EQ(finished.code, 1);
}

}  // namespace
