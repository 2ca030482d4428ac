// Runs `templates`, `replay` and `digests` of the built program on
// repositories whose patches, links and files try to make it write or read
// outside the repository, or hang, and checks that nothing outside changes
// and that each attempt ends at once with an error naming what was refused.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "test_support/deep_folders.h"
#include "test_support/folder_files.h"
#include "test_support/git_repository.h"
#include "test_support/program.h"
#include "test_support/temp_folder.h"
#include "test_support/upgrade_tree.h"

namespace {

namespace fs = std::filesystem;
using test_support::DeepFolders;
using test_support::files_below;
using test_support::Files;
using test_support::Finished;
using test_support::GitRepository;
using test_support::ProgramOptions;
using test_support::run_program;
using test_support::TempFolder;
using test_support::UpgradeTree;

constexpr std::string_view kTwoVersions =
    "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n";

// A run that hangs instead of failing is ended after this many seconds.
constexpr std::string_view kPatience = "20";

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Runs the program with files limited to `bytes`, as a full disk would stop
// a write, and the signal of a write beyond the limit ignored.
std::vector<std::string> file_size_limit(int bytes) {
  return {"/bin/sh", "-c", "trap '' XFSZ; exec /usr/bin/prlimit --fsize=" + std::to_string(bytes) + " -- \"$@\"",
          "sh"};
}

// A repository with a tagged 1.0.0 and a working 1.1.0 kprofile, both
// serving eks, beside an outside folder that no run may touch.
class UntrustedRepository : public ::testing::Test {
 protected:
  void SetUp() override {
    repo_.write_kprofile("configs", "app.yaml", "name: one\n");
    repo_.write_kprofile("configs", "app_eks.yaml", "name: one-eks\n");
    repo_.write_kprofile("pods", "web.yaml", "kind: Pod\n");
    repo_.write_kprofile("assets", "logo.txt", "logo\n");
    repo_.release("1.0.0");
    repo_.write_kprofile("configs", "app_eks.yaml", "name: two-eks\n");
    repo_.write_inventory(kTwoVersions);
    fs::create_directories(repo_.config());
    outside_.write("keep.txt", "keep\n");
    before_ = files_below(outside_.path());
  }

  Finished run(std::vector<std::string> arguments, ProgramOptions options = {}) const {
    options.arguments = std::move(arguments);
    options.launcher = {"/usr/bin/timeout", std::string(kPatience)};
    return run_program(options);
  }
  Finished templates(ProgramOptions options = {}) const {
    return run({"templates", "--repository", repo_.root().string(), "--output", output().string()}, options);
  }
  Finished replay() const { return run({"replay", "--repository", repo_.root().string()}); }
  Finished digests(bool record = false) const {
    std::vector<std::string> arguments = {"digests", "--repository", repo_.root().string()};
    if (record) arguments.push_back("--record");
    return run(arguments);
  }

  fs::path output() const { return work_.path() / "out"; }
  // A relative path from any kprofile folder to the outside folder.
  std::string climb_outside() const {
    std::string up;
    for (int i = 0; i < 20; ++i) up += "../";
    return up + outside_.path().relative_path().string();
  }
  void expect_outside_unchanged() const { EXPECT_EQ(files_below(outside_.path()), before_); }
  void link(const fs::path& link, const fs::path& target) const {
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
  }

  GitRepository repo_;
  TempFolder work_;
  TempFolder outside_;
  Files before_;
};

TEST_F(UntrustedRepository, PatchesThatTouchPathsOutsideTheirKprofileAreRefused) {
  const std::string up = climb_outside();
  const std::string outside = outside_.path().string();
  struct Case {
    std::string name;
    std::string patch;
  };
  const Case cases[] = {
      {"a new file climbing out",
       "diff --git a/" + up + "/new.txt b/" + up + "/new.txt\nnew file mode 100644\n--- /dev/null\n+++ b/" + up +
           "/new.txt\n@@ -0,0 +1 @@\n+planted\n"},
      {"a new file at an absolute path", "--- /dev/null\n+++ b/" + outside + "/abs.txt\n@@ -0,0 +1 @@\n+planted\n"},
      {"a rename out of the kprofile", "diff --git a/configs/app.yaml b/" + up +
                                           "/moved.yaml\nsimilarity index 100%\nrename from configs/app.yaml\n"
                                           "rename to " + up + "/moved.yaml\n"},
      {"a change of a file outside", "diff --git a/" + up + "/keep.txt b/" + up + "/keep.txt\n--- a/" + up +
                                         "/keep.txt\n+++ b/" + up + "/keep.txt\n@@ -1 +1 @@\n-keep\n+changed\n"},
      {"a deletion of a file outside", "diff --git a/" + up + "/keep.txt b/" + up +
                                           "/keep.txt\ndeleted file mode 100644\n--- a/" + up +
                                           "/keep.txt\n+++ /dev/null\n@@ -1 +0,0 @@\n-keep\n"},
  };
  for (const Case& c : cases) {
    repo_.write_patch("1.0.0", c.patch);
    for (const auto& [command, finished] : {std::pair{"templates", templates()}, std::pair{"replay", replay()},
                                            std::pair{"digests", digests()}}) {
      SCOPED_TRACE(c.name + " through " + command);
      EXPECT_EQ(finished.out, "");
      EXPECT_TRUE(contains(finished.err, "UpgradeError::5360")) << finished.err;
      EXPECT_EQ(finished.code, 1);
      expect_outside_unchanged();
    }
  }
}

TEST_F(UntrustedRepository, ASoundPatchAppliesAgainOnTheSameOutput) {
  repo_.write_patch("1.0.0",
                    "diff --git a/configs/extra_eks.yaml b/configs/extra_eks.yaml\nnew file mode 100644\n"
                    "--- /dev/null\n+++ b/configs/extra_eks.yaml\n@@ -0,0 +1 @@\n+extra: 1\n");
  const Finished first = templates();
  ASSERT_EQ(first.code, 0) << first.err;
  const Files written = files_below(output());
  EXPECT_EQ(written.at("templates/1.0.0/eks/configs/extra.yaml"), "extra: 1\n");
  work_.write("out/kprofiles/1.0.0/configs/stale_eks.yaml", "stale: 1\n");

  const Finished second = templates();
  EXPECT_EQ(second.err, "");
  EXPECT_EQ(second.code, 0);
  EXPECT_EQ(files_below(output()), written);
}

TEST_F(UntrustedRepository, DigestsAreNeverWrittenOrReadThroughALink) {
  struct Case {
    std::string name;
    fs::path link;     // below the repository
    fs::path target;   // below the outside folder
    std::string code;  // the error's code, or none for a run that succeeds
  };
  const Case cases[] = {
      {"the document linked to an outside file", "variant/config/kupgrade/digests.yaml", "keep.txt",
       "UpgradeError::5361"},
      {"the document linked to a missing outside file", "variant/config/kupgrade/digests.yaml", "created.yaml", ""},
      {"the configuration folder linked outside", "variant/config/kupgrade", "", "UpgradeError::5362"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(repo_.config());
    fs::create_directories(repo_.config());
    fs::remove_all(repo_.root() / c.link);
    link(repo_.root() / c.link, outside_.path() / c.target);
    const Finished finished = digests(true);
    if (c.code.empty()) {
      EXPECT_EQ(finished.code, 0) << finished.err;
      EXPECT_EQ(fs::symlink_status(repo_.root() / c.link).type(), fs::file_type::regular);
    } else {
      EXPECT_TRUE(contains(finished.err, c.code)) << finished.err;
      EXPECT_EQ(finished.code, 1);
    }
    expect_outside_unchanged();
  }
}

TEST_F(UntrustedRepository, AFamilyFolderLinkedOutsideIsRefusedByName) {
  outside_.write("configs/app_eks.yaml", "secret: 1\n");
  before_ = files_below(outside_.path());
  const fs::path configs = repo_.kprofile() / "configs";
  fs::remove_all(configs);
  link(configs, outside_.path() / "configs");
  const Finished finished = templates();
  EXPECT_TRUE(contains(finished.err, "ProfileError::5005")) << finished.err;
  EXPECT_TRUE(contains(finished.err, "Could not read '" + configs.string() + "': a link leads outside")) << finished.err;
  EXPECT_EQ(finished.code, 1);
  EXPECT_FALSE(fs::exists(output() / "templates/1.1.0"));
}

// A family folder of a version's content linked outside: neither its listing
// nor whether a file the spec claims is there outside may show in the run.
TEST_F(UntrustedRepository, AContentFolderLinkedOutsideIsRefusedByName) {
  outside_.write("configs/outside-secret.yaml", "secret: 1\n");
  outside_.write("configs/token_eks.yaml", "token: 1\n");
  before_ = files_below(outside_.path());
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: true}\n"
                        "  - {version: 1.0.0, upgrader: false}\n");
  const fs::path configs = repo_.kupgrade() / "upgrades/1.1.0/configs";
  link(configs, outside_.path() / "configs");
  struct Case {
    std::string name;
    std::string spec;
  };
  const Case cases[] = {
      {"a spec that claims no content", "schema: 1\n"},
      {"a spec that creates a file there outside",
       "schema: 1\nconfigs:\n  token.yaml:\n    token_eks.yaml: {action: create}\n"},
      {"a spec that creates a file missing outside too",
       "schema: 1\nconfigs:\n  other.yaml:\n    other_eks.yaml: {action: create}\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    repo_.write_spec("1.1.0", c.spec);
    const Finished finished = replay();
    EXPECT_EQ(finished.out, "");
    EXPECT_TRUE(contains(finished.err, "UpgradeError::5345")) << finished.err;
    EXPECT_TRUE(contains(finished.err, "Could not read the upgrade content of version '1.1.0' at '" +
                                           configs.string() + "': a link leads outside '" +
                                           repo_.root().string() + "' to '" +
                                           (outside_.path() / "configs").string() + "'."))
        << finished.err;
    EXPECT_FALSE(contains(finished.err, "outside-secret")) << finished.err;
    EXPECT_EQ(finished.code, 1);
    expect_outside_unchanged();
  }
}

// A content file linked outside, claimed by the spec or left over, is
// refused by name and never read; a link to nothing is content missing, as
// nothing is read there.
TEST_F(UntrustedRepository, AContentFileLinkedOutsideIsRefusedByName) {
  outside_.write("token_eks.yaml", "token: 1\n");
  before_ = files_below(outside_.path());
  repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: true}\n"
                        "  - {version: 1.0.0, upgrader: false}\n");
  const std::string creates = "schema: 1\nconfigs:\n  token.yaml:\n    token_eks.yaml: {action: create}\n";
  const fs::path content = repo_.kupgrade() / "upgrades/1.1.0/configs/token_eks.yaml";
  const std::string refused = "Could not read the upgrade content of version '1.1.0' at '" + content.string() +
                              "': a link leads outside '" + repo_.root().string() + "'";
  const struct {
    std::string name;
    std::string spec;
    std::string target;
    std::string code;  // the error's code, or none for a run that succeeds
    std::string message;
  } cases[] = {
      {"claimed, a file there", creates, "token_eks.yaml", "UpgradeError::5345", refused},
      {"left over, a file there", "schema: 1\n", "token_eks.yaml", "UpgradeError::5345", refused},
      {"claimed, nothing there", creates, "missing.yaml", "UpgradeError::5343", "no content was found"},
      {"left over, nothing there", "schema: 1\n", "missing.yaml", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    repo_.write_spec("1.1.0", c.spec);
    fs::remove(content);
    link(content, outside_.path() / c.target);
    const Finished finished = replay();
    if (c.code.empty()) {
      EXPECT_EQ(finished.code, 0) << finished.err;
    } else {
      EXPECT_EQ(finished.out, "");
      EXPECT_TRUE(contains(finished.err, c.code)) << finished.err;
      EXPECT_TRUE(contains(finished.err, c.message)) << finished.err;
      EXPECT_EQ(finished.code, 1);
    }
    expect_outside_unchanged();
  }
}

// What a fresh clone can hold: folders whose absolute path is longer than
// PATH_MAX (each path in the repository stays shorter), a link D to the
// deepest, and links that climb from D out of the clone to files beside it.
TEST_F(UntrustedRepository, LinksThroughFoldersTooDeepToResolveAreRefusedInAFreshClone) {
  const DeepFolders deep(repo_.root());
  deep.write("keep", "deep\n");
  link(repo_.root() / "D", deep.relative());
  repo_.commit("deep folders");
  const std::string base = repo_.git({"rev-parse", "HEAD"}).substr(0, 40);
  const fs::path clone = work_.path() / "clone";
  const fs::path beside = work_.path() / "outside";
  constexpr std::string_view kSecret = "outside-secret";
  const std::string secret(kSecret);
  struct Case {
    std::string name;
    fs::path link;     // in the repository
    fs::path target;   // beside the clone
    std::string content;
    std::vector<std::string> command;  // after the repository's options
    std::string code;
    std::function<void()> prepare = [] {};
  };
  const std::string patch = "diff --git a/configs/planted_eks.yaml b/configs/planted_eks.yaml\nnew file mode 100644\n"
                            "--- /dev/null\n+++ b/configs/planted_eks.yaml\n@@ -0,0 +1 @@\n+" + secret + "\n";
  const Case cases[] = {
      {"the inventory", "variant/resources/kupgrade/upgrades.yaml", "upgrades.yaml",
       std::string(kTwoVersions) + "# " + secret + "\n", {"replay"}, "UpgradeError::5321"},
      {"a family folder", "variant/resources/kprofile/configs", "configs/app_eks.yaml", "key: " + secret + "\n",
       {"templates", "--output", output().string()}, "ProfileError::5005"},
      {"a patch", "variant/config/kupgrade/patches/1.0.0.patch", "1.0.0.patch", patch,
       {"templates", "--output", output().string()}, "UpgradeError::5360"},
      {"the digests document", "variant/config/kupgrade/digests.yaml", "digests.yaml",
       "versions:\n  1.0.0: {eks: " + secret + "}\n", {"digests"}, "UpgradeError::5361"},
      {"a content file", "variant/resources/kupgrade/upgrades/1.1.0/configs/token_eks.yaml", "token.yaml",
       "token: " + secret + "\n", {"replay", "--diverged", (work_.path() / "diverged").string()}, "UpgradeError::5345",
       [&] {
         repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: true}\n"
                               "  - {version: 1.0.0, upgrader: false}\n");
         repo_.write_spec("1.1.0", "schema: 1\nconfigs:\n  token.yaml:\n    token_eks.yaml: {action: create}\n");
       }},
      {"a content family folder", "variant/resources/kupgrade/upgrades/1.1.0/configs",
       "configs/" + secret + ".yaml", "key: 1\n", {"replay"}, "UpgradeError::5345",
       [&] {
         repo_.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: true}\n"
                               "  - {version: 1.0.0, upgrader: false}\n");
         repo_.write_spec("1.1.0", "schema: 1\n");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(clone);
    fs::remove_all(beside);
    fs::remove_all(work_.path() / "diverged");
    fs::remove_all(output());
    work_.write(fs::path("outside") / c.target, c.content);
    c.prepare();
    fs::remove_all(repo_.root() / c.link);
    std::string up;
    for (auto part = std::next(c.link.begin()); part != c.link.end(); ++part) up += "../";
    link(repo_.root() / c.link, up + "D/" + deep.climb() + "../outside/" + c.target.begin()->string());
    repo_.commit(c.name);
    repo_.git({"clone", "-q", repo_.root().string(), clone.string()});

    std::vector<std::string> arguments = {c.command.front(), "--repository", clone.string()};
    arguments.insert(arguments.end(), std::next(c.command.begin()), c.command.end());
    const Finished finished = run(arguments);
    EXPECT_EQ(finished.out, "");
    EXPECT_TRUE(contains(finished.err, c.code)) << finished.err;
    EXPECT_TRUE(contains(finished.err, "a link leads outside '" + clone.string() + "' to '" + beside.string()))
        << finished.err;
    EXPECT_FALSE(contains(finished.err, secret)) << finished.err;
    EXPECT_EQ(finished.code, 1);
    for (const fs::path& written : {output(), work_.path() / "diverged"}) {
      for (const auto& [name, text] : files_below(written)) EXPECT_FALSE(contains(text, secret)) << name;
    }
    repo_.git({"reset", "-q", "--hard", base});
  }
}

// A link to a descriptor the run inherits, whose file was deleted: the link
// leads to a file that has no path at all.
TEST_F(UntrustedRepository, ALinkToAnInheritedDeletedFileIsRefused) {
  const fs::path deleted = work_.write("deleted.yaml", std::string(kTwoVersions) + "# outside-secret\n");
  const int held = ::open(deleted.c_str(), O_RDONLY);  // inherited by the run
  ASSERT_GE(held, 0);
  fs::remove(deleted);
  const fs::path inventory = repo_.kupgrade() / "upgrades.yaml";
  fs::remove(inventory);
  link(inventory, "/proc/self/fd/" + std::to_string(held));
  const Finished finished = replay();
  ::close(held);
  EXPECT_EQ(finished.out, "");
  EXPECT_TRUE(contains(finished.err, "UpgradeError::5321")) << finished.err;
  EXPECT_TRUE(contains(finished.err, "Could not read the upgrade inventory '" + inventory.string() +
                                         "': a link leads to a file that no longer has a path."))
      << finished.err;
  EXPECT_EQ(finished.code, 1);
}

TEST_F(UntrustedRepository, LinksUnderTheOutputAreReplacedNotFollowed) {
  for (const std::string_view in_the_way : {"kprofiles", "kprofiles/1.0.0", "kprofiles/1.0.0/configs", "templates",
                                            "templates/1.0.0", "templates/1.0.0/eks", "templates/1.0.0/eks/pods"}) {
    SCOPED_TRACE(in_the_way);
    fs::remove_all(output());
    link(output() / in_the_way, outside_.path());
    const Finished finished = templates();
    EXPECT_EQ(finished.err, "");
    EXPECT_EQ(finished.code, 0);
    EXPECT_EQ(files_below(output()).at("templates/1.0.0/eks/configs/app.yaml"), "name: one-eks\n");
    EXPECT_EQ(fs::symlink_status(output() / in_the_way).type(), fs::file_type::directory);
    expect_outside_unchanged();
  }
}

TEST_F(UntrustedRepository, FilesThatAreNotRegularEndTheRunAtOnce) {
  struct Case {
    std::string name;
    fs::path fifo;  // below the repository
    bool digests;   // run digests, else templates
    std::string message;
  };
  const Case cases[] = {
      {"the inventory", "variant/resources/kupgrade/upgrades.yaml", false, "Could not read the upgrade inventory"},
      {"the digests document", "variant/config/kupgrade/digests.yaml", true, "Could not read the template digests at"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path fifo = repo_.root() / c.fifo;
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const Finished finished = c.digests ? digests() : templates();
    EXPECT_TRUE(contains(finished.err, c.message + " '" + fifo.string() + "': not a regular file.")) << finished.err;
    EXPECT_EQ(finished.code, 1);
    fs::remove(fifo);
    repo_.write_inventory(kTwoVersions);
  }
}

TEST_F(UntrustedRepository, ARecordThatCannotBeWrittenLeavesTheOldDocument) {
  const std::string old = "# kept as it is\nversions:\n  0.1.0: {eks: abc}\n";
  repo_.write_digests(old);
  const Finished finished = run_program({.arguments = {"digests", "--repository", repo_.root().string(), "--record"},
                                         .launcher = file_size_limit(64)});
  EXPECT_TRUE(contains(finished.err, "UpgradeError::5362")) << finished.err;
  EXPECT_TRUE(contains(finished.err, "File too large")) << finished.err;
  EXPECT_EQ(finished.code, 1);
  EXPECT_EQ(files_below(repo_.config()), (Files{{"digests.yaml", old}}));
}

TEST_F(UntrustedRepository, TheRepositoryIsTheOneNamedEvenWhenTheEnvironmentNamesAnother) {
  GitRepository other;
  other.write_kprofile("configs", "app_eks.yaml", "name: other\n");
  other.release("1.0.0");
  const Finished finished = templates(
      {.environment = {{"GIT_DIR", (other.root() / ".git").string()}, {"GIT_WORK_TREE", other.root().string()}}});
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
  EXPECT_EQ(files_below(output()).at("templates/1.0.0/eks/configs/app.yaml"), "name: one-eks\n");
}

// The upgrade road reads what its caller names, but never blocks on it.
TEST(UpgradeReads, FilesThatAreNotRegularEndTheRunAtOnce) {
  const std::string modify = "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: modify, changes: []}\n";
  struct Case {
    std::string name;
    fs::path special;  // below the upgrade tree's folder: kupgrade/... or kprofile/...
    std::string message;
  };
  const Case cases[] = {
      {"a FIFO as the spec", "kupgrade/upgrades/1.1.yaml", "Could not read the upgrade spec of version '1.1' at"},
      {"a FIFO as the file to modify", "kprofile/configs/app.yaml", "Could not read the kprofile file at"},
      {"a link to a device as the file to modify", "kprofile/configs/app.yaml", "Could not read the kprofile file at"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UpgradeTree tree;
    tree.spec("1.1", modify);
    tree.profile({{"configs/app.yaml", "a: 1\n"}, {"pods/.keep", ""}, {"assets/.keep", ""}});
    const fs::path special = tree.kupgrade().parent_path() / c.special;
    fs::remove(special);
    if (contains(c.name, "device")) {
      fs::create_symlink("/dev/zero", special);
    } else {
      ASSERT_EQ(::mkfifo(special.c_str(), 0644), 0);
    }
    const Finished finished = run_program(
        {.arguments = {"upgrade", "--kupgrade", tree.kupgrade().string(), "--kprofile", tree.kprofile().string(),
                       "--version", "1.1"},
         .launcher = {"/usr/bin/timeout", std::string(kPatience)}});
    EXPECT_TRUE(contains(finished.err, c.message + " '" + special.string() + "'") &&
                contains(finished.err, "not a regular file."))
        << finished.err;
    EXPECT_EQ(finished.code, 1);
  }
}

// A write that fails half way, as on a full disk, keeps the file as it was.
TEST(UpgradeWrites, AWriteThatFailsLeavesTheOldFileAndNoTemporaryFile) {
  UpgradeTree tree;
  tree.spec("1.1", "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: replace}\n");
  tree.content("1.1", {{"configs/app.yaml", "a: " + std::string(8192, 'x') + "\n"}});
  const Files before = {{"configs/app.yaml", "a: 1\n"}, {"pods/.keep", ""}, {"assets/.keep", ""}};
  tree.profile(before);
  const Finished finished = run_program(
      {.arguments = {"upgrade", "--kupgrade", tree.kupgrade().string(), "--kprofile", tree.kprofile().string(),
                     "--version", "1.1"},
       .launcher = file_size_limit(4096)});
  EXPECT_TRUE(contains(finished.err, "UpgradeError::5357")) << finished.err;
  EXPECT_TRUE(contains(finished.err, "File too large")) << finished.err;
  EXPECT_EQ(finished.code, 1);
  EXPECT_EQ(tree.profile_files(), before);
}

}  // namespace
