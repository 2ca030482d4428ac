#include "platform/tar_unpack.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include "platform/temp_dir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "variant/resources/kprofile";

struct Member {
  std::string path;
  mode_t type;
  std::string content;
  int mode;
  time_t mtime;
  std::string link;  // symbolic or hard link target
};

Member file(std::string path, std::string content, int mode = 0644, time_t mtime = 1700000000) {
  return {std::move(path), AE_IFREG, std::move(content), mode, mtime, ""};
}

Member folder(std::string path) { return {std::move(path), AE_IFDIR, "", 0755, 1700000000, ""}; }

// A member without content: a link, a hard link (AE_IFREG with a target) or a special file.
Member other(std::string path, mode_t type, std::string link = "") {
  return {std::move(path), type, "", 0777, 1700000000, std::move(link)};
}

la_ssize_t append(archive*, void* sink, const void* data, size_t size) {
  static_cast<std::string*>(sink)->append(static_cast<const char*>(data), size);
  return static_cast<la_ssize_t>(size);
}

// A tar stream in the given libarchive format, built in memory.
std::string make_tar(int format, const std::vector<Member>& members) {
  std::string bytes;
  std::unique_ptr<archive, decltype(&archive_write_free)> writer(archive_write_new(), &archive_write_free);
  EXPECT_EQ(archive_write_set_format(writer.get(), format), ARCHIVE_OK);
  EXPECT_EQ(archive_write_open2(writer.get(), &bytes, nullptr, append, nullptr, nullptr), ARCHIVE_OK);
  for (const auto& member : members) {
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), &archive_entry_free);
    archive_entry_set_pathname(entry.get(), member.path.c_str());
    archive_entry_set_filetype(entry.get(), member.type);
    archive_entry_set_perm(entry.get(), static_cast<mode_t>(member.mode));
    archive_entry_set_mtime(entry.get(), member.mtime, 0);
    if (member.type == AE_IFLNK) archive_entry_set_symlink(entry.get(), member.link.c_str());
    if (member.type == AE_IFREG && !member.link.empty()) archive_entry_set_hardlink(entry.get(), member.link.c_str());
    if (member.type == AE_IFREG) archive_entry_set_size(entry.get(), static_cast<la_int64_t>(member.content.size()));
    // A warning is a name that the C locale cannot translate; it is stored as raw bytes.
    EXPECT_GE(archive_write_header(writer.get(), entry.get()), ARCHIVE_WARN) << archive_error_string(writer.get());
    if (!member.content.empty()) {
      EXPECT_EQ(archive_write_data(writer.get(), member.content.data(), member.content.size()),
                static_cast<la_ssize_t>(member.content.size()));
    }
  }
  EXPECT_EQ(archive_write_close(writer.get()), ARCHIVE_OK);
  return bytes;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every non-folder below `root`, relative to it.
std::set<std::string> tree_of(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_directory()) files.insert(fs::relative(entry.path(), root).string());
  }
  return files;
}

class TarUnpackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto dir = TempDir::create();
    ASSERT_TRUE(dir.has_value());
    dir_.emplace(std::move(*dir));
    destination_ = dir_->path() / "out" / "1.0";
  }

  std::optional<TempDir> dir_;
  fs::path destination_;
};

TEST_F(TarUnpackTest, UnpacksOnlyRegularFilesBelowThePrefix) {
  const std::string long_name = std::string(kPrefix) + "/pods/" + std::string(120, 'p') + ".yaml";
  const std::vector<Member> members = {
      folder("variant/"),
      folder("variant/resources/"),
      file("variant/resources/top.txt", "above"),
      file("variant/resources/kprofile", "the prefix itself"),
      folder("variant/resources/kprofile/"),
      file("variant/resources/kprofile/configs/a.yaml", "a: 1\n", 0640, 1000000000),
      file(long_name, "long", 0755, 1234567890),
      file("variant/resources/kprofile-old/configs/x.yaml", "sibling"),
      other("variant/resources/kprofile/configs/link.yaml", AE_IFLNK, "a.yaml"),
      other("variant/resources/kprofile/configs/hard.yaml", AE_IFREG, "variant/resources/kprofile/configs/a.yaml"),
      folder("variant/resources/kprofile/assets/"),
      other("variant/resources/kprofile/fifo", AE_IFIFO),
      file("other/variant/resources/kprofile/configs/b.yaml", "elsewhere"),
  };
  for (int format :
       {ARCHIVE_FORMAT_TAR_GNUTAR, ARCHIVE_FORMAT_TAR_PAX_RESTRICTED, ARCHIVE_FORMAT_TAR_PAX_INTERCHANGE}) {
    SCOPED_TRACE(format);
    fs::remove_all(destination_);
    auto unpacked = unpack_tar_prefix(make_tar(format, members), kPrefix, destination_);
    ASSERT_TRUE(unpacked.has_value()) << unpacked.error();

    const fs::path a = destination_ / "configs" / "a.yaml";
    const fs::path long_file = destination_ / "pods" / (std::string(120, 'p') + ".yaml");
    EXPECT_EQ(tree_of(destination_), (std::set<std::string>{"configs/a.yaml", fs::relative(long_file, destination_)}));
    EXPECT_FALSE(fs::exists(destination_ / "assets"));
    EXPECT_EQ(read_file(a), "a: 1\n");
    EXPECT_EQ(read_file(long_file), "long");

    struct stat a_stat {};
    struct stat long_stat {};
    ASSERT_EQ(::stat(a.c_str(), &a_stat), 0);
    ASSERT_EQ(::stat(long_file.c_str(), &long_stat), 0);
    EXPECT_EQ(a_stat.st_mode & 07777, 0640u);
    EXPECT_EQ(long_stat.st_mode & 07777, 0755u);
    EXPECT_EQ(a_stat.st_mtime, 1000000000);
    EXPECT_EQ(long_stat.st_mtime, 1234567890);
  }
}

TEST_F(TarUnpackTest, PrefixWithTrailingSlashMatchesTheSame) {
  const auto bytes = make_tar(ARCHIVE_FORMAT_TAR_GNUTAR, {file("variant/resources/kprofile/pods/p.yaml", "p")});
  ASSERT_TRUE(unpack_tar_prefix(bytes, "variant/resources/kprofile/", destination_).has_value());
  EXPECT_EQ(read_file(destination_ / "pods" / "p.yaml"), "p");
}

TEST_F(TarUnpackTest, KeepsNonAsciiNamesByteForByte) {
  const std::string name = "caf\xc3\xa9-\xe2\x82\xac.yaml";
  for (int format : {ARCHIVE_FORMAT_TAR_GNUTAR, ARCHIVE_FORMAT_TAR_PAX_RESTRICTED}) {
    SCOPED_TRACE(format);
    fs::remove_all(destination_);
    const auto bytes = make_tar(format, {file(std::string(kPrefix) + "/configs/" + name, "x")});
    auto unpacked = unpack_tar_prefix(bytes, kPrefix, destination_);
    ASSERT_TRUE(unpacked.has_value()) << unpacked.error();
    EXPECT_EQ(tree_of(destination_), std::set<std::string>{"configs/" + name});
  }
}

TEST_F(TarUnpackTest, NothingBelowThePrefixCreatesNothing) {
  const std::vector<Member> members = {
      folder("variant/resources/kprofile/"),
      folder("variant/resources/kprofile/configs/"),
      file("variant/resources/kprofile-old/configs/x.yaml", "sibling"),
  };
  auto unpacked = unpack_tar_prefix(make_tar(ARCHIVE_FORMAT_TAR_PAX_RESTRICTED, members), kPrefix, destination_);
  ASSERT_TRUE(unpacked.has_value()) << unpacked.error();
  EXPECT_FALSE(fs::exists(destination_));
  EXPECT_FALSE(fs::exists(destination_.parent_path()));
}

TEST_F(TarUnpackTest, RefusesMembersLeavingTheTarget) {
  for (const std::string path :
       {"variant/resources/kprofile/../escape.txt", "variant/resources/kprofile/configs/../../../escape.txt",
        "variant/resources/kprofile/.."}) {
    SCOPED_TRACE(path);
    const std::vector<Member> members = {
        file("variant/resources/kprofile/configs/first.yaml", "first"),
        file(path, "outside"),
        file("variant/resources/kprofile/configs/last.yaml", "last"),
    };
    auto unpacked = unpack_tar_prefix(make_tar(ARCHIVE_FORMAT_TAR_GNUTAR, members), kPrefix, destination_);
    ASSERT_FALSE(unpacked.has_value());
    EXPECT_EQ(unpacked.error(), "refusing archive member '" + path + "' that leaves the target folder");
    EXPECT_FALSE(fs::exists(destination_.parent_path() / "escape.txt"));
    EXPECT_FALSE(fs::exists(dir_->path() / "escape.txt"));
    EXPECT_EQ(tree_of(destination_), std::set<std::string>{"configs/first.yaml"});
  }
}

TEST_F(TarUnpackTest, ReplacesExistingFilesAndKeepsOthers) {
  fs::create_directories(destination_ / "configs");
  std::ofstream(destination_ / "configs" / "a.yaml") << "old content that is longer";
  fs::permissions(destination_ / "configs" / "a.yaml", fs::perms::owner_read);
  std::ofstream(destination_ / "configs" / "stale.yaml") << "stale";
  const std::vector<Member> members = {
      file("variant/resources/kprofile/configs/a.yaml", "first"),
      file("variant/resources/kprofile/configs/a.yaml", "second", 0600),
  };
  auto unpacked = unpack_tar_prefix(make_tar(ARCHIVE_FORMAT_TAR_GNUTAR, members), kPrefix, destination_);
  ASSERT_TRUE(unpacked.has_value()) << unpacked.error();
  EXPECT_EQ(read_file(destination_ / "configs" / "a.yaml"), "second");
  EXPECT_EQ(read_file(destination_ / "configs" / "stale.yaml"), "stale");
}

TEST_F(TarUnpackTest, ReportsUnwritableTargets) {
  fs::create_directories(destination_ / "configs" / "a.yaml" / "inner");
  fs::create_directories(destination_.parent_path());
  std::ofstream(destination_ / "pods") << "a file where a folder is needed";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"variant/resources/kprofile/configs/a.yaml",
       "could not unpack archive member 'variant/resources/kprofile/configs/a.yaml': Is a directory"},
      {"variant/resources/kprofile/pods/p.yaml",
       "could not unpack archive member 'variant/resources/kprofile/pods/p.yaml': Not a directory"},
  };
  for (const auto& [path, error] : cases) {
    auto unpacked = unpack_tar_prefix(make_tar(ARCHIVE_FORMAT_TAR_GNUTAR, {file(path, "x")}), kPrefix, destination_);
    ASSERT_FALSE(unpacked.has_value());
    EXPECT_EQ(unpacked.error(), error);
  }
}

TEST_F(TarUnpackTest, RejectsDamagedStreams) {
  const auto bytes =
      make_tar(ARCHIVE_FORMAT_TAR_GNUTAR, {file("variant/resources/kprofile/a", std::string(4000, 'x'))});
  const std::vector<std::string> cases = {std::string(1024, 'z'), bytes.substr(0, 2000)};
  for (const auto& damaged : cases) {
    auto unpacked = unpack_tar_prefix(damaged, kPrefix, destination_);
    ASSERT_FALSE(unpacked.has_value());
    EXPECT_FALSE(unpacked.error().empty());
  }
}

}  // namespace
}  // namespace platform
