#include "runtime/instance/upgrade/replay/materialize.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "platform/subprocess.h"
#include "test_support/folder_files.h"
#include "test_support/git_repository.h"
#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using provider::ClusterProvider;

using test_support::files_below;

struct Failure {
  std::string code;
  std::string message;
};

template <typename T>
Failure failure_of(const qv_common::Result<T, core::system::exit::CommandError>& result) {
  if (result) return {"no failure", ""};
  if (!result.error().source) return {"no source", result.error().debug()};
  return {result.error().source->code, result.error().source->qv_error.message()};
}

constexpr std::string_view kTwoVersions =
    "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n";

// The 1.0.0 kprofile, tagged; the working tree then holds the 1.1.0 kprofile.
class MaterializeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    repo_.write_kprofile("configs", "app.yaml", "name: old\n");
    repo_.write_kprofile("configs", "app_eks.yaml", "name: old-eks\n");
    repo_.write_kprofile("pods", "web_aks.yaml", "kind: Pod\n");
    repo_.write_kprofile("assets", "logo.txt", "logo\n");
    repo_.release("1.0.0");
    repo_.write_kprofile("configs", "app.yaml", "name: new\n");
    repo_.write_kprofile("configs", "app_gke.yaml", "name: new-gke\n");
    repo_.write_inventory(kTwoVersions);
  }

  Sources sources() const { return {repo_.root(), repo_.kupgrade(), repo_.kprofile(), repo_.config()}; }

  qv_common::Result<Templates, core::system::exit::CommandError> run() const {
    return materialize(sources(), target_.path());
  }

  test_support::GitRepository repo_;
  test_support::TempFolder target_;
};

TEST_F(MaterializeTest, OneVersionUsesTheWorkingKprofileWithoutGit) {
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n");
  fs::remove_all(repo_.root() / ".git");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  EXPECT_EQ(templates->root, target_.path() / "templates");
  EXPECT_EQ(templates->newest, "1.1.0");
  ASSERT_EQ(templates->releases.size(), 1u);
  EXPECT_EQ(templates->releases[0].entry.version, "1.1.0");
  EXPECT_EQ(templates->releases[0].providers, (std::vector{ClusterProvider::kEks, ClusterProvider::kAks,
                                                           ClusterProvider::kGke}));
  EXPECT_TRUE(templates->released().empty());
  EXPECT_FALSE(fs::exists(target_.path() / "kprofiles"));
  EXPECT_EQ(files_below(target_.path() / "templates/1.1.0/gke"),
            (std::map<std::string, std::string>{{"configs/app.yaml", "name: new-gke\n"},
                                                {"assets/logo.txt", "logo\n"}}));
}

TEST_F(MaterializeTest, OlderReleaseComesFromItsTag) {
  repo_.write_patch("1.1.0", "not a patch; the newest version is never patched\n");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  ASSERT_EQ(templates->releases.size(), 2u);
  EXPECT_EQ(templates->releases[0].entry.version, "1.0.0");
  EXPECT_EQ(templates->releases[0].providers, (std::vector{ClusterProvider::kEks, ClusterProvider::kAks}));
  EXPECT_EQ(templates->releases[1].entry.version, "1.1.0");
  ASSERT_EQ(templates->released().size(), 1u);
  EXPECT_EQ(templates->released()[0]->entry.version, "1.0.0");

  EXPECT_EQ(files_below(target_.path() / "kprofiles"),
            (std::map<std::string, std::string>{{"1.0.0/configs/app.yaml", "name: old\n"},
                                                {"1.0.0/configs/app_eks.yaml", "name: old-eks\n"},
                                                {"1.0.0/pods/web_aks.yaml", "kind: Pod\n"},
                                                {"1.0.0/assets/logo.txt", "logo\n"}}));
  EXPECT_EQ(files_below(target_.path() / "templates/1.0.0"),
            (std::map<std::string, std::string>{{"eks/configs/app.yaml", "name: old-eks\n"},
                                                {"eks/assets/logo.txt", "logo\n"},
                                                {"aks/configs/app.yaml", "name: old\n"},
                                                {"aks/pods/web.yaml", "kind: Pod\n"},
                                                {"aks/assets/logo.txt", "logo\n"}}));
  EXPECT_EQ(files_below(target_.path() / "templates/1.1.0/gke")["configs/app.yaml"], "name: new-gke\n");
}

TEST_F(MaterializeTest, ExtractsOnlyRegularFilesBelowTheKprofile) {
  repo_.write("variant/resources/kprofile-old/configs/app_kminus.yaml", "sibling\n");
  repo_.write("variant/resources/readme.md", "above\n");
  const fs::path script = repo_.write_kprofile("assets", "run.sh", "#!/bin/sh\n");
  fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  fs::create_symlink("app.yaml", repo_.kprofile() / "configs/link_kminus.yaml");
  repo_.release("1.0.1");
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n"
                        "  - {version: 1.0.1, upgrader: false}\n");
  repo_.remove("variant/resources/kprofile/configs/link_kminus.yaml");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  const fs::path kprofile = target_.path() / "kprofiles/1.0.1";
  EXPECT_EQ(fs::symlink_status(kprofile / "configs/link_kminus.yaml").type(), fs::file_type::not_found);
  EXPECT_FALSE(files_below(kprofile).contains("readme.md"));
  EXPECT_EQ(files_below(kprofile).size(), 6u);
  struct stat info {};
  ASSERT_EQ(::stat((kprofile / "assets/run.sh").c_str(), &info), 0);
  EXPECT_NE(info.st_mode & 0100, 0u) << "the executable bit comes from the archive";
  ASSERT_EQ(::stat((kprofile / "assets/logo.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0111, 0u);
  EXPECT_FALSE(templates->releases[0].serves(ClusterProvider::kKminus));
}

TEST_F(MaterializeTest, PatchIsAppliedToTheExtractedKprofile) {
  repo_.write_patch("1.0.0",
                    "diff --git a/configs/app.yaml b/configs/app.yaml\n"
                    "--- a/configs/app.yaml\n"
                    "+++ b/configs/app.yaml\n"
                    "@@ -1 +1 @@\n"
                    "-name: old\n"
                    "+name: patched\n");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  EXPECT_EQ(files_below(target_.path() / "kprofiles/1.0.0")["configs/app.yaml"], "name: patched\n");
  EXPECT_EQ(files_below(target_.path() / "templates/1.0.0/aks")["configs/app.yaml"], "name: patched\n");
}

TEST_F(MaterializeTest, PatchThatDeletesTheLastFileOfAFamilyKeepsItsFolder) {
  repo_.write_patch("1.0.0",
                    "diff --git a/pods/web_aks.yaml b/pods/web_aks.yaml\n"
                    "deleted file mode 100644\n"
                    "--- a/pods/web_aks.yaml\n"
                    "+++ /dev/null\n"
                    "@@ -1 +0,0 @@\n"
                    "-kind: Pod\n");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  EXPECT_TRUE(fs::is_directory(target_.path() / "kprofiles/1.0.0/pods"));
  EXPECT_EQ(templates->releases[0].providers, std::vector{ClusterProvider::kEks});
  EXPECT_EQ(files_below(target_.path() / "templates/1.0.0"),
            (std::map<std::string, std::string>{{"eks/configs/app.yaml", "name: old-eks\n"},
                                                {"eks/assets/logo.txt", "logo\n"}}));
}

TEST_F(MaterializeTest, PatchThatDoesNotApplyFailsBeforeTheReleasesTemplates) {
  const fs::path patch = repo_.write_patch("1.0.0",
                                           "diff --git a/configs/app.yaml b/configs/app.yaml\n"
                                           "--- a/configs/app.yaml\n"
                                           "+++ b/configs/app.yaml\n"
                                           "@@ -1 +1 @@\n"
                                           "-name: something else\n"
                                           "+name: patched\n");
  const Failure failure = failure_of(run());
  EXPECT_EQ(failure.code, "UpgradeError::5360");
  const std::string prefix = "The patch '" + patch.string() + "' does not apply to the kprofile of tag '1.0.0': ";
  ASSERT_EQ(failure.message.rfind(prefix, 0), 0u) << failure.message;
  const std::string cause = failure.message.substr(prefix.size());
  EXPECT_NE(cause.find("patch does not apply"), std::string::npos) << cause;
  EXPECT_EQ(cause.find('\n', cause.size() - 2), std::string::npos) << "the cause is trimmed: " << cause;
  EXPECT_FALSE(fs::exists(target_.path() / "templates/1.0.0"));
}

TEST_F(MaterializeTest, MissingTagNamesTheTagAndTheRepository) {
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n"
                        "  - {version: 0.9.0, upgrader: false}\n");
  auto git = platform::run_process({"git", "-C", repo_.root().string(), "archive", "--format=tar", "0.9.0",
                                    "variant/resources/kprofile"},
                                   std::nullopt);
  ASSERT_TRUE(git);
  ASSERT_NE(git->status, 0);
  std::string stderr_text = git->error;
  while (!stderr_text.empty() && std::isspace(static_cast<unsigned char>(stderr_text.back()))) stderr_text.pop_back();
  ASSERT_FALSE(stderr_text.empty());

  const Failure failure = failure_of(run());
  EXPECT_EQ(failure.code, "UpgradeError::5359");
  EXPECT_EQ(failure.message, "Could not read the kprofile of tag '0.9.0' from '" + repo_.root().string() + "': " +
                                 stderr_text +
                                 ". Every released version needs its tag; fetch them with 'git fetch --tags'.");
  EXPECT_FALSE(fs::exists(target_.path() / "templates"));
}

TEST_F(MaterializeTest, DockerAndFargateAreNeverServed) {
  repo_.remove("variant/resources/kprofile");
  repo_.write_kprofile("configs", "app_docker.yaml", "a\n");
  repo_.write_kprofile("pods", "web_fargate.yaml", "b\n");
  repo_.write_kprofile("assets", "logo.txt", "c\n");
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  ASSERT_EQ(templates->releases.size(), 1u);
  EXPECT_TRUE(templates->releases[0].providers.empty());
  EXPECT_FALSE(fs::exists(target_.path() / "templates"));
}

TEST_F(MaterializeTest, OnlyEntriesDirectlyInAFamilyFolderNameProviders) {
  repo_.write_kprofile("configs", "__pycache__/deep_kminus.yaml", "a\n");
  repo_.write_kprofile("pods", ".cache/deep_kminus.yaml", "a\n");
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  EXPECT_FALSE(templates->releases[0].serves(ClusterProvider::kKminus));
  EXPECT_TRUE(templates->releases[0].serves(ClusterProvider::kGke));
  EXPECT_FALSE(fs::exists(target_.path() / "templates/1.1.0/kminus"));
}

TEST_F(MaterializeTest, WritesEverySectionAndLeavesOutSystemProvidedFiles) {
  repo_.write_kprofile("configs", "bundle.yamls", "x\n");
  repo_.write_kprofile("configs", "quorvale-requirements.txt", "x\n");
  repo_.write_kprofile("assets", "more_gke.yamls", "x\n");
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  const fs::path gke = target_.path() / "templates/1.1.0/gke";
  for (const char* section : {"configs", "pods", "assets"}) EXPECT_TRUE(fs::is_directory(gke / section)) << section;
  EXPECT_TRUE(fs::is_empty(gke / "pods"));
  EXPECT_EQ(files_below(gke), (std::map<std::string, std::string>{{"configs/app.yaml", "name: new-gke\n"},
                                                                  {"assets/logo.txt", "logo\n"}}));
}

TEST_F(MaterializeTest, AFamilyFolderThatWasEmptyAtTheTagComesBackEmpty) {
  repo_.remove("variant/resources/kprofile");
  repo_.write_kprofile("configs", "app_eks.yaml", "name: eks\n");
  fs::create_directories(repo_.kprofile() / "pods");
  fs::create_directories(repo_.kprofile() / "assets");
  repo_.release("0.9.0");
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n"
                        "  - {version: 0.9.0, upgrader: false}\n");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  EXPECT_TRUE(fs::is_directory(target_.path() / "kprofiles/0.9.0/pods"));
  EXPECT_EQ(files_below(target_.path() / "templates/0.9.0/eks"),
            (std::map<std::string, std::string>{{"configs/app.yaml", "name: eks\n"}}));
}

TEST_F(MaterializeTest, RewritesTheTemplatesAndKprofilesOfItsReleasesOnly) {
  target_.write("templates/1.0.0/aks/configs/stale.yaml", "stale\n");
  target_.write("templates/0.1.0/aks/configs/other.yaml", "other\n");
  target_.write("kprofiles/1.0.0/configs/stale_eks.yaml", "stale\n");
  target_.write("kprofiles/1.0.0/configs/app.yaml", "overwritten\n");
  target_.write("kprofiles/0.1.0/configs/other.yaml", "other\n");
  auto templates = run();
  ASSERT_TRUE(templates) << templates.error().debug();
  EXPECT_FALSE(fs::exists(target_.path() / "templates/1.0.0/aks/configs/stale.yaml"));
  EXPECT_TRUE(fs::exists(target_.path() / "templates/0.1.0/aks/configs/other.yaml"));
  EXPECT_TRUE(fs::exists(target_.path() / "kprofiles/0.1.0/configs/other.yaml"));
  EXPECT_EQ(files_below(target_.path() / "kprofiles/1.0.0"),
            (std::map<std::string, std::string>{{"configs/app.yaml", "name: old\n"},
                                                {"configs/app_eks.yaml", "name: old-eks\n"},
                                                {"pods/web_aks.yaml", "kind: Pod\n"},
                                                {"assets/logo.txt", "logo\n"}}));
  EXPECT_FALSE(fs::exists(target_.path() / "templates/1.0.0/eks/configs/stale.yaml"));
}

TEST_F(MaterializeTest, InventoryFailureWritesNothing) {
  repo_.write_inventory("schema: 2\nversions: []\n");
  EXPECT_EQ(failure_of(run()).code, "UpgradeError::5312");
  EXPECT_TRUE(fs::is_empty(target_.path()));
}

// Points TMPDIR at a private folder while alive.
class PrivateTmpdir {
 public:
  PrivateTmpdir() {
    if (const char* old = ::getenv("TMPDIR")) old_ = old;
    ::setenv("TMPDIR", folder_.path().c_str(), 1);
  }
  ~PrivateTmpdir() {
    if (old_) {
      ::setenv("TMPDIR", old_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }
  PrivateTmpdir(const PrivateTmpdir&) = delete;
  PrivateTmpdir& operator=(const PrivateTmpdir&) = delete;

  const fs::path& path() const { return folder_.path(); }

 private:
  test_support::TempFolder folder_;
  std::optional<std::string> old_;
};

TEST_F(MaterializeTest, ScratchFolderIsRemovedWithItsGuard) {
  const PrivateTmpdir tmpdir;
  {
    auto scratch = materialize_scratch(sources());
    ASSERT_TRUE(scratch) << scratch.error().debug();
    EXPECT_EQ(scratch->templates.root.parent_path().parent_path(), tmpdir.path());
    EXPECT_TRUE(fs::is_directory(scratch->templates.root / "1.0.0/aks"));
    EXPECT_TRUE(fs::is_directory(scratch->folder.path() / "kprofiles/1.0.0"));
  }
  EXPECT_TRUE(fs::is_empty(tmpdir.path()));
}

TEST_F(MaterializeTest, ScratchFolderIsRemovedOnFailure) {
  repo_.write_patch("1.0.0", "garbage\n");
  const PrivateTmpdir tmpdir;
  EXPECT_EQ(failure_of(materialize_scratch(sources())).code, "UpgradeError::5360");
  EXPECT_TRUE(fs::is_empty(tmpdir.path()));
}

TEST(Reset, ReplacesTheDestination) {
  const test_support::TempFolder folder;
  folder.write("src/configs/a.yaml", "a\n");
  folder.write("dst/configs/old.yaml", "old\n");
  ASSERT_TRUE(reset(folder.path() / "src", folder.path() / "dst"));
  EXPECT_EQ(files_below(folder.path() / "dst"), (std::map<std::string, std::string>{{"configs/a.yaml", "a\n"}}));
  ASSERT_TRUE(reset(folder.path() / "src", folder.path() / "new/dst"));
  EXPECT_EQ(files_below(folder.path() / "new/dst").size(), 1u);
}

TEST(Reset, FailureNamesTheDestination) {
  const test_support::TempFolder folder;
  const fs::path dst = folder.path() / "dst";
  const Failure failure = failure_of(reset(folder.path() / "absent", dst));
  EXPECT_EQ(failure.code, "UpgradeError::5357");
  EXPECT_EQ(failure.message.rfind("Could not write the upgraded file at '" + dst.string() + "': ", 0), 0u)
      << failure.message;
}

}  // namespace
}  // namespace runtime::instance::upgrade::replay
