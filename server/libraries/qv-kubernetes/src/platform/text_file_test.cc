#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "test_support/folder_files.h"
#include "test_support/temp_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using test_support::files_below;
using test_support::Files;

unsigned mode_of(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return status.st_mode & 07777;
}

// The names in a folder, hidden ones included.
std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Limits the size of the files this process writes while it lives, with the
// signal of a write beyond the limit ignored: a write then fails as on a
// full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, saved_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_;
};

TEST(ReadBytes, RefusesWhatIsNotARegularFileWithoutBlocking) {
  test_support::TempFolder folder;
  const fs::path fifo = folder.path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const fs::path device_link = folder.path() / "zero";
  fs::create_symlink("/dev/zero", device_link);
  const std::pair<fs::path, std::string> cases[] = {
      {fifo, "not a regular file"},
      {device_link, "not a regular file"},
      {"/dev/null", "not a regular file"},
      {folder.path(), "Is a directory"},
      {folder.path() / "missing", "No such file or directory"},
  };
  for (const auto& [path, cause] : cases) {
    SCOPED_TRACE(path.string());
    auto bytes = read_bytes(path);
    ASSERT_FALSE(bytes.has_value());
    EXPECT_EQ(bytes.error(), cause);
  }
}

TEST(ReadBytes, ReadsAFileThroughALinkAndTellsWhatItFound) {
  test_support::TempFolder folder;
  const fs::path file = folder.write("a.yaml", std::string(200000, 'a'));
  fs::permissions(file, fs::perms(0640));
  fs::create_symlink("a.yaml", folder.path() / "link.yaml");
  for (const auto& [name, link] : {std::pair{"a.yaml", false}, std::pair{"link.yaml", true}}) {
    FoundFile found;
    auto bytes = read_bytes(folder.path() / name, &found);
    ASSERT_TRUE(bytes.has_value()) << bytes.error();
    EXPECT_EQ(*bytes, std::string(200000, 'a'));
    EXPECT_EQ(found.mode, 0640u);
    EXPECT_EQ(found.link, link);
  }
}

TEST(WriteFile, ReplacesTheWholeFileAndKeepsItsPermissionBits) {
  test_support::TempFolder folder;
  const fs::path file = folder.write("a.yaml", "old content, longer than the new\n");
  fs::permissions(file, fs::perms(0751));
  ASSERT_TRUE(write_file(file, "new\n").has_value());
  EXPECT_EQ(files_below(folder.path()), (Files{{"a.yaml", "new\n"}}));
  EXPECT_EQ(mode_of(file), 0751u);
  ASSERT_TRUE(write_file(folder.path() / "b.yaml", "created\n").has_value());
  EXPECT_EQ(files_below(folder.path()).at("b.yaml"), "created\n");
  EXPECT_EQ(names_in(folder.path()), (std::set<std::string>{"a.yaml", "b.yaml"}));
}

TEST(WriteFile, AReplacedFileKeepsItsOwnerAndGroupAndALinkReplacedIsTheWriters) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving files to another owner needs root";
  test_support::TempFolder folder;
  struct Case {
    std::string name;
    AtLink at_link;
    bool read_first;  // the write takes what a read found
    bool kept;        // else the file is the writer's
  };
  const Case cases[] = {
      {"replaced in place", AtLink::kReplace, false, true},
      {"replaced after a read", AtLink::kFollow, true, true},
      {"written through a link", AtLink::kFollow, false, true},
      {"a link replaced", AtLink::kReplace, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = folder.write("a.yaml", "old\n");
    ASSERT_EQ(::chown(file.c_str(), 12345, 23456), 0);
    ASSERT_EQ(::chmod(file.c_str(), 02750), 0);
    fs::path path = file;
    if (c.name.find("link") != std::string::npos) {
      path = folder.path() / "link.yaml";
      fs::remove(path);
      fs::create_symlink("a.yaml", path);
    }
    FoundFile found;
    if (c.read_first) ASSERT_TRUE(read_bytes(path, &found).has_value());
    ASSERT_TRUE(write_file(path, "new\n", c.at_link, c.read_first ? &found : nullptr).has_value());
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, c.kept ? 12345u : 0u);
    EXPECT_EQ(status.st_gid, c.kept ? 23456u : ::getegid());
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(status.st_mode & 07777, c.kept ? 02750u : 0666u & ~mask);
  }
}

TEST(WriteFile, FollowsOrReplacesALinkAsAsked) {
  test_support::TempFolder folder;
  test_support::TempFolder elsewhere;
  const fs::path target = elsewhere.write("target.yaml", "target\n");
  struct Case {
    std::string name;
    fs::path link_target;
    AtLink at_link;
    Files elsewhere_after;
  };
  const Case cases[] = {
      {"followed", target, AtLink::kFollow, {{"target.yaml", "written\n"}}},
      {"followed while dangling", elsewhere.path() / "new.yaml", AtLink::kFollow,
       {{"new.yaml", "written\n"}, {"target.yaml", "target\n"}}},
      {"replaced", target, AtLink::kReplace, {{"target.yaml", "target\n"}}},
      {"replaced while dangling", elsewhere.path() / "never.yaml", AtLink::kReplace, {{"target.yaml", "target\n"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    elsewhere.write("target.yaml", "target\n");
    fs::remove(elsewhere.path() / "new.yaml");
    const fs::path link = folder.path() / "link.yaml";
    fs::remove(link);
    fs::create_symlink(c.link_target, link);
    ASSERT_TRUE(write_file(link, "written\n", c.at_link).has_value());
    EXPECT_EQ(files_below(elsewhere.path()), c.elsewhere_after);
    const bool replaced = c.at_link == AtLink::kReplace;
    EXPECT_EQ(fs::symlink_status(link).type(), replaced ? fs::file_type::regular : fs::file_type::symlink);
    if (replaced) {
      EXPECT_EQ(files_below(folder.path()).at("link.yaml"), "written\n");
    }
  }
}

TEST(WriteFile, AWriteThatFailsLeavesTheOldFileAndNoTemporaryFile) {
  test_support::TempFolder folder;
  const fs::path old_file = folder.write("old.yaml", "old\n");
  const std::string big(8192, 'x');
  {
    FileSizeLimit limit(4096);
    auto replaced = write_file(old_file, big);
    ASSERT_FALSE(replaced.has_value());
    EXPECT_EQ(replaced.error(), "File too large");
    auto created = write_file(folder.path() / "new.yaml", big);
    ASSERT_FALSE(created.has_value());
    EXPECT_EQ(created.error(), "File too large");
  }
  EXPECT_EQ(files_below(folder.path()), (Files{{"old.yaml", "old\n"}}));
  EXPECT_EQ(names_in(folder.path()), std::set<std::string>{"old.yaml"});
}

TEST(WriteFile, AFolderAtThePathIsNotReplaced) {
  test_support::TempFolder folder;
  folder.write("a.yaml/inner", "x");
  auto written = write_file(folder.path() / "a.yaml", "text");
  ASSERT_FALSE(written.has_value());
  EXPECT_EQ(written.error(), "Is a directory");
  EXPECT_EQ(files_below(folder.path()), (Files{{"a.yaml/inner", "x"}}));
}

}  // namespace
}  // namespace platform
