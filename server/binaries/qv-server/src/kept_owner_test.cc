// Runs `upgrade` and `digests --record` of the built program on files of
// another owner and group, and checks that a file replaced whole keeps its
// owner, group and permission bits as far as the run may set them, while a
// file the run creates is the runner's.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "test_support/git_repository.h"
#include "test_support/program.h"
#include "test_support/upgrade_tree.h"

namespace {

namespace fs = std::filesystem;
using test_support::Finished;
using test_support::GitRepository;
using test_support::run_program;
using test_support::UpgradeTree;

constexpr uid_t kOwner = 12345;
constexpr gid_t kGroup = 23456;
constexpr uid_t kOtherOwner = 54321;
constexpr gid_t kOtherGroup = 34567;

struct Ownership {
  uid_t owner;
  gid_t group;
  unsigned mode;
  bool operator==(const Ownership&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Ownership& o) {
  return out << o.owner << ":" << o.group << " " << std::oct << o.mode << std::dec;
}

Ownership ownership_of(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
  return {status.st_uid, status.st_gid, status.st_mode & 07777};
}

// The mode comes after the owner: a change of owner clears the set-group-ID bit.
void give(const fs::path& path, const Ownership& ownership) {
  ASSERT_EQ(::lchown(path.c_str(), ownership.owner, ownership.group), 0) << path;
  ASSERT_EQ(::chmod(path.c_str(), ownership.mode), 0) << path;
}

// A spec that replaces configs/app.yaml, modifies configs/db.yaml and
// creates pods/new.yaml.
void write_upgrader(const UpgradeTree& tree) {
  tree.spec("1.1",
            "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: replace}\n"
            "  db.yaml:\n    db.yaml: {action: modify, changes: [{op: modify-leaf-value-if, leaf: a, from: 1, to: 2}]}\n"
            "pods:\n  new.yaml:\n    new.yaml: {action: create}\n");
  tree.content("1.1", {{"configs/app.yaml", "app: 2\n"}, {"pods/new.yaml", "new: 1\n"}});
  tree.profile({{"configs/app.yaml", "app: 1\n"}, {"configs/db.yaml", "a: 1\n"}, {"pods/.keep", ""},
                {"assets/.keep", ""}});
}

TEST(KeptOwner, AsRootUpgradeAndARecordKeepTheOwnerGroupAndModeOfWhatTheyReplace) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving files to another owner needs root";
  UpgradeTree tree;
  write_upgrader(tree);
  const fs::path app = tree.kprofile() / "configs/app.yaml";
  const fs::path db = tree.kprofile() / "configs/db.yaml";
  give(app, {kOwner, kGroup, 0640});
  give(db, {kOtherOwner, kOtherGroup, 02751});
  const Finished upgraded = tree.upgrade("1.1");
  ASSERT_EQ(upgraded.code, 0) << upgraded.err;
  EXPECT_EQ(tree.profile_files().at("configs/db.yaml"), "a: 2\n");
  EXPECT_EQ(ownership_of(app), (Ownership{kOwner, kGroup, 0640}));
  EXPECT_EQ(ownership_of(db), (Ownership{kOtherOwner, kOtherGroup, 02751}));
  EXPECT_EQ(ownership_of(tree.kprofile() / "pods/new.yaml").owner, 0u);

  GitRepository repo;
  repo.write_kprofile("configs", "app_eks.yaml", "name: one\n");
  repo.write_kprofile("pods", "web.yaml", "kind: Pod\n");
  repo.write_kprofile("assets", "logo.txt", "logo\n");
  repo.release("1.0.0");
  repo.write_inventory(
      "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n");
  const fs::path digests = repo.write_digests("versions:\n  0.9.0: {eks: abc}\n");
  give(digests, {kOwner, kGroup, 0664});
  const Finished recorded =
      run_program({.arguments = {"digests", "--repository", repo.root().string(), "--record"}});
  ASSERT_EQ(recorded.code, 0) << recorded.err;
  EXPECT_NE(recorded.out.find("\"recorded\":1"), std::string::npos) << recorded.out;
  EXPECT_EQ(ownership_of(digests), (Ownership{kOwner, kGroup, 0664}));
}

// Who runs the upgrade in the next test, with a group it is a member of
// besides its own.
struct Runner {
  std::vector<std::string> launcher;
  uid_t user;
  gid_t own_group;
  gid_t member_group;
};

// Root runs the program as another user; anyone else as itself, when it is
// a member of a group besides its own.
std::optional<Runner> member_runner() {
  if (::geteuid() == 0) {
    return Runner{{"/usr/bin/setpriv", "--reuid=" + std::to_string(kOwner), "--regid=" + std::to_string(kOwner),
                   "--groups=" + std::to_string(kGroup)},
                  kOwner, kOwner, kGroup};
  }
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  groups.resize(static_cast<std::size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
  for (gid_t group : groups) {
    if (group != ::getegid()) return Runner{{}, ::geteuid(), ::getegid(), group};
  }
  return std::nullopt;
}

TEST(KeptOwner, ARunnerKeepsTheGroupOfAFileWhenItIsAMemberOfIt) {
  const std::optional<Runner> runner = member_runner();
  if (!runner) GTEST_SKIP() << "this user is a member of no group besides its own";
  UpgradeTree tree;
  write_upgrader(tree);
  const fs::path app = tree.kprofile() / "configs/app.yaml";
  const fs::path db = tree.kprofile() / "configs/db.yaml";
  const bool root = ::geteuid() == 0;
  if (root) {
    // The runner reaches the tree and may replace the files in it.
    fs::permissions(tree.kprofile().parent_path(), fs::perms(0755));
    for (const char* folder : {"", "configs", "pods", "assets"}) {
      fs::permissions(tree.kprofile() / folder, fs::perms(0777));
    }
    give(app, {kOtherOwner, runner->member_group, 0644});
    give(db, {kOtherOwner, kOtherGroup, 0644});
  } else {
    give(app, {runner->user, runner->member_group, 0644});
  }
  const Finished upgraded = run_program({.arguments = {"upgrade", "--kupgrade", tree.kupgrade().string(),
                                                       "--kprofile", tree.kprofile().string(), "--version", "1.1"},
                                         .launcher = runner->launcher});
  ASSERT_EQ(upgraded.code, 0) << upgraded.err;
  EXPECT_EQ(tree.profile_files().at("configs/app.yaml"), "app: 2\n");
  EXPECT_EQ(ownership_of(app), (Ownership{runner->user, runner->member_group, 0644}));
  if (root) {
    // A group the runner is no member of cannot be kept: the file becomes the runner's.
    EXPECT_EQ(ownership_of(db), (Ownership{runner->user, runner->own_group, 0644}));
  }
}

// In a folder with the set-group-ID bit a new file takes the folder's group,
// not the runner's: a replaced file of the runner's own group keeps it all
// the same. Root runs it itself, and as a member of a group besides its own.
TEST(KeptOwner, InAFolderWithTheSetGroupIdBitAReplacedFileKeepsItsGroup) {
  std::vector<Runner> runners;
  if (::geteuid() == 0) runners.push_back({{}, 0, 0, kGroup});
  if (const std::optional<Runner> member = member_runner()) runners.push_back(*member);
  if (runners.empty()) GTEST_SKIP() << "this user is a member of no group besides its own";
  for (const Runner& runner : runners) {
    SCOPED_TRACE(runner.user);
    UpgradeTree tree;
    write_upgrader(tree);
    if (::geteuid() == 0) {
      fs::permissions(tree.kprofile().parent_path(), fs::perms(0755));
      for (const char* folder : {"", "pods", "assets"}) fs::permissions(tree.kprofile() / folder, fs::perms(0777));
    }
    const fs::path configs = tree.kprofile() / "configs";
    ASSERT_EQ(::chown(configs.c_str(), static_cast<uid_t>(-1), runner.member_group), 0);
    ASSERT_EQ(::chmod(configs.c_str(), 02777), 0);
    // Root gives the file away too, to keep its owner as well.
    const Ownership kept{runner.user == 0 ? kOtherOwner : runner.user, runner.own_group, 0644};
    give(configs / "app.yaml", kept);
    give(configs / "db.yaml", kept);
    const Finished upgraded = run_program({.arguments = {"upgrade", "--kupgrade", tree.kupgrade().string(),
                                                         "--kprofile", tree.kprofile().string(), "--version", "1.1"},
                                           .launcher = runner.launcher});
    ASSERT_EQ(upgraded.code, 0) << upgraded.err;
    EXPECT_EQ(tree.profile_files().at("configs/app.yaml"), "app: 2\n");
    EXPECT_EQ(tree.profile_files().at("configs/db.yaml"), "a: 2\n");
    EXPECT_EQ(ownership_of(configs / "app.yaml"), kept);
    EXPECT_EQ(ownership_of(configs / "db.yaml"), kept);
  }
}

}  // namespace
