#include "platform/tar_unpack.h"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

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

// The member types a test archive holds, by their tar type flag.
enum class Type : char { kFile = '0', kHardLink = '1', kSymlink = '2', kFifo = '6', kFolder = '5' };

struct Member {
  std::string path;
  Type type;
  std::string content;
  int mode;
  time_t mtime;
  std::string link;  // symbolic or hard link target
};

Member file(std::string path, std::string content, int mode = 0644, time_t mtime = 1700000000) {
  return {std::move(path), Type::kFile, std::move(content), mode, mtime, ""};
}

Member folder(std::string path) { return {std::move(path), Type::kFolder, "", 0755, 1700000000, ""}; }

// A member without content: a link, a hard link or a special file.
Member other(std::string path, Type type, std::string link = "") {
  return {std::move(path), type, "", 0777, 1700000000, std::move(link)};
}

// How a test archive stores a name too long for, or not plain enough for, a
// tar header: written by hand, so that the unpacker is tested against the
// encodings themselves rather than against the library it reads them with.
enum class TarFormat {
  kGnuTar,         // a GNU long-name member before a long name
  kPaxRestricted,  // a pax header before a long or non-ASCII name
  kPax,            // a pax header before every member
};
using enum TarFormat;

std::string octal(std::uint64_t value, std::size_t width) {
  std::string digits = fmt::format("{:o}", value);
  return std::string(width - 1 - digits.size(), '0') + digits;
}

// One 512-byte header; its name and link fields are cut to their size.
std::string header(std::string_view name, char type, std::uint64_t size, int mode, time_t mtime,
                   std::string_view link, bool gnu) {
  std::string block(512, '\0');
  auto put = [&](std::size_t offset, std::string_view text, std::size_t width) {
    block.replace(offset, std::min(text.size(), width), text.substr(0, width));
  };
  put(0, name, 100);
  put(100, octal(static_cast<std::uint64_t>(mode), 8), 8);
  put(108, octal(0, 8), 8);
  put(116, octal(0, 8), 8);
  put(124, octal(size, 12), 12);
  put(136, octal(static_cast<std::uint64_t>(mtime), 12), 12);
  block[156] = type;
  put(157, link, 100);
  put(257, gnu ? std::string_view("ustar  \0", 8) : std::string_view("ustar\0" "00", 8), 8);
  block.replace(148, 8, 8, ' ');
  unsigned sum = 0;
  for (unsigned char byte : block) sum += byte;
  put(148, octal(sum, 7), 7);
  return block;
}

std::string padded(std::string data) {
  data.resize((data.size() + 511) / 512 * 512, '\0');
  return data;
}

// A pax record "<length> <key>=<value>\n", whose length counts itself.
std::string pax_record(std::string_view key, std::string_view value) {
  const std::size_t rest = key.size() + value.size() + 3;
  std::size_t length = rest + 1;
  while (std::to_string(length).size() + rest != length) ++length;
  return fmt::format("{} {}={}\n", length, key, value);
}

bool plain(std::string_view name) {
  return name.size() <= 100 && std::all_of(name.begin(), name.end(), [](char c) { return c > 0 && c < 0x7f; });
}

// A tar stream of `members` in `format`, built in memory.
std::string make_tar(TarFormat format, const std::vector<Member>& members) {
  std::string bytes;
  for (const auto& member : members) {
    const char type = static_cast<char>(member.type);
    if (format == kGnuTar && member.path.size() > 100) {
      const std::string name = member.path + '\0';
      bytes += header("././@LongLink", 'L', name.size(), 0644, 0, "", true) + padded(name);
    }
    if (format == kPax || (format == kPaxRestricted && !plain(member.path))) {
      const std::string records = pax_record("path", member.path);
      bytes += header("PaxHeader", 'x', records.size(), 0644, member.mtime, "", false) + padded(records);
    }
    bytes += header(member.path, type, member.content.size(), member.mode, member.mtime, member.link, format == kGnuTar);
    bytes += padded(member.content);
  }
  return bytes + std::string(1024, '\0');
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
      other("variant/resources/kprofile/configs/link.yaml", Type::kSymlink, "a.yaml"),
      other("variant/resources/kprofile/configs/hard.yaml", Type::kHardLink, "variant/resources/kprofile/configs/a.yaml"),
      folder("variant/resources/kprofile/assets/"),
      other("variant/resources/kprofile/fifo", Type::kFifo),
      file("other/variant/resources/kprofile/configs/b.yaml", "elsewhere"),
  };
  for (TarFormat format :
       {kGnuTar, kPaxRestricted, kPax}) {
    SCOPED_TRACE(static_cast<int>(format));
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
  const auto bytes = make_tar(kGnuTar, {file("variant/resources/kprofile/pods/p.yaml", "p")});
  ASSERT_TRUE(unpack_tar_prefix(bytes, "variant/resources/kprofile/", destination_).has_value());
  EXPECT_EQ(read_file(destination_ / "pods" / "p.yaml"), "p");
}

TEST_F(TarUnpackTest, KeepsNonAsciiNamesByteForByte) {
  const std::string name = "caf\xc3\xa9-\xe2\x82\xac.yaml";
  for (TarFormat format : {kGnuTar, kPaxRestricted}) {
    SCOPED_TRACE(static_cast<int>(format));
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
  auto unpacked = unpack_tar_prefix(make_tar(kPaxRestricted, members), kPrefix, destination_);
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
    auto unpacked = unpack_tar_prefix(make_tar(kGnuTar, members), kPrefix, destination_);
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
  auto unpacked = unpack_tar_prefix(make_tar(kGnuTar, members), kPrefix, destination_);
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
    auto unpacked = unpack_tar_prefix(make_tar(kGnuTar, {file(path, "x")}), kPrefix, destination_);
    ASSERT_FALSE(unpacked.has_value());
    EXPECT_EQ(unpacked.error(), error);
  }
}

TEST_F(TarUnpackTest, RejectsDamagedStreams) {
  const auto bytes =
      make_tar(kGnuTar, {file("variant/resources/kprofile/a", std::string(4000, 'x'))});
  const std::vector<std::string> cases = {std::string(1024, 'z'), bytes.substr(0, 2000)};
  for (const auto& damaged : cases) {
    auto unpacked = unpack_tar_prefix(damaged, kPrefix, destination_);
    ASSERT_FALSE(unpacked.has_value());
    EXPECT_FALSE(unpacked.error().empty());
  }
}

}  // namespace
}  // namespace platform
