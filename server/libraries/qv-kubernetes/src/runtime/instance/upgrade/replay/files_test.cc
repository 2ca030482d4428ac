#include "runtime/instance/upgrade/replay/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <optional>

#include "platform/sha256.h"
#include "platform/temp_dir.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;

void write_file(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string sha256(const std::string& bytes) {
  platform::Sha256 sha;
  sha.update(bytes);
  return sha.hex_digest();
}

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto dir = platform::TempDir::create();
    ASSERT_TRUE(dir.has_value());
    dir_.emplace(std::move(*dir));
  }

  fs::path path(const std::string& relative) const { return dir_->path() / relative; }

  std::optional<platform::TempDir> dir_;
};

TEST_F(FilesTest, FilesOfListsRegularFilesByByteOrder) {
  const fs::path folder = path("configs");
  for (const std::string name : {"b.yaml", "B.yaml", "a.yaml", "a.yamls.txt", "x.yamls", ".yamls",
                                 "quorvale-requirements.txt", "quorvale-requirements.txt.bak", "\xFF.yaml"}) {
    write_file(folder / name, name);
  }
  write_file(folder / "sub" / "inner.yaml", "inner");
  write_file(path("target.yaml"), "target");
  fs::create_symlink(path("target.yaml"), folder / "link.yaml");
  fs::create_symlink(path("missing.yaml"), folder / "broken.yaml");
  fs::create_directory_symlink(folder / "sub", folder / "folder-link");
  ::mkfifo((folder / "fifo").c_str(), 0644);

  EXPECT_EQ(files_of(folder), (std::set<std::string>{"B.yaml", "a.yaml", "a.yamls.txt", "b.yaml", "link.yaml",
                                                     "quorvale-requirements.txt.bak", "\xEF\xBF\xBD.yaml"}));
}

TEST_F(FilesTest, FilesOfAnUnlistableFolderIsEmpty) {
  write_file(path("file"), "x");
  EXPECT_TRUE(files_of(path("missing")).empty());
  EXPECT_TRUE(files_of(path("file")).empty());
}

TEST(IsBinaryProvidedTest, MatchesYamlsAndTheRequirementsFile) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"x.yamls", true},
      {".yamls", true},
      {"quorvale-requirements.txt", true},
      {"x.yaml", false},
      {"a.yamls.txt", false},
      {"quorvale-requirements.txt.bak", false},
      {"x.YAMLS", false},
      {"Quorvale-requirements.txt", false},
      {"", false},
  };
  for (const auto& [name, provided] : cases) {
    EXPECT_EQ(is_binary_provided(name), provided) << name;
  }
}

TEST_F(FilesTest, ReadGivesUtf8TextOrNothing) {
  write_file(path("text.yaml"), "caf\xC3\xA9: 1\n");
  write_file(path("empty.yaml"), "");
  write_file(path("binary.yaml"),
             "a\xFF"
             "b");
  fs::create_directories(path("folder"));
  EXPECT_EQ(read(path("text.yaml")), "caf\xC3\xA9: 1\n");
  EXPECT_EQ(read(path("empty.yaml")), "");
  EXPECT_EQ(read(path("binary.yaml")), "");
  EXPECT_EQ(read(path("missing.yaml")), "");
  EXPECT_EQ(read(path("folder")), "");
}

TEST(UncommentedTest, KeepsContentLines) {
  using Lines = std::vector<std::string_view>;
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"", {}},
      {"a\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r", {"a"}},
      {"a\rb\n", {"a\rb"}},
      {"x\r\r\n", {"x"}},
      {"a \t\n", {"a"}},
      {"\n\n \n\t\n", {}},
      {"# comment\n  # indented comment\nkey: v # trailing\n", {"key: v # trailing"}},
      {"  indented\n\tkey: 1\n", {"  indented", "\tkey: 1"}},
      {"a\xC2\xA0\xE3\x80\x80\xE2\x80\x83\n", {"a"}},
      {"\xE2\x80\x83# comment after an em space\n", {}},
      {"\xC2\x85\n", {}},
      {"a\xE2\x80\x8B\n", {"a\xE2\x80\x8B"}},  // zero width space is not white space
      {"\x1C\n", {"\x1C"}},
      {"no#comment\n", {"no#comment"}},
  };
  for (const auto& [text, lines] : cases) {
    EXPECT_EQ(uncommented(text), lines) << testing::PrintToString(text);
  }
}

TEST(UncommentedTest, LinesAreSlicesOfTheText) {
  const std::string text = "a: 1\n  b: 2  \n";
  const auto lines = uncommented(text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].data(), text.data());
  EXPECT_EQ(lines[1].data(), text.data() + 5);
}

TEST_F(FilesTest, DigestOfAnEmptyOrMissingTemplateIsTheEmptyDigest) {
  const std::string empty = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
  fs::create_directories(path("template/configs"));
  EXPECT_EQ(digest_of(path("template")), empty);
  EXPECT_EQ(digest_of(path("missing")), empty);
}

TEST_F(FilesTest, DigestFeedsSectionNameContentAndZeroByte) {
  write_file(path("one/configs/a.yaml"), "a: 1\n");
  EXPECT_EQ(digest_of(path("one")), sha256(std::string("configs/a.yaml") + "a: 1\n" + '\0'));

  write_file(path("all/assets/x.txt"), "x");
  write_file(path("all/pods/p.yaml"), "kind: Pod\n");
  write_file(path("all/configs/b.yaml"), "b");
  write_file(path("all/configs/a.yaml"), "a");
  const std::string fed = std::string("configs/a.yaml") + "a" + '\0' + "configs/b.yaml" + "b" + '\0' + "pods/p.yaml" +
                          "kind: Pod\n" + '\0' + "assets/x.txt" + "x" + '\0';
  EXPECT_EQ(digest_of(path("all")), sha256(fed));
}

TEST_F(FilesTest, DigestFollowsContentAndNamesOnly) {
  struct Case {
    std::string what;
    std::function<void(const fs::path&)> change;
    bool changes_digest;
  };
  const std::vector<Case> cases = {
      {"rename", [](const fs::path& t) { fs::rename(t / "configs/a.yaml", t / "configs/b.yaml"); }, true},
      {"move to another section", [](const fs::path& t) { fs::rename(t / "configs/a.yaml", t / "pods/a.yaml"); }, true},
      {"change one byte", [](const fs::path& t) { write_file(t / "pods/p.yaml", "kind: Pod\r"); }, true},
      {"empty a file", [](const fs::path& t) { write_file(t / "assets/x.txt", ""); }, true},
      {"add a file", [](const fs::path& t) { write_file(t / "assets/y.txt", ""); }, true},
      {"remove a file", [](const fs::path& t) { fs::remove(t / "assets/x.txt"); }, true},
      {"touch",
       [](const fs::path& t) {
         fs::last_write_time(t / "configs/a.yaml", fs::last_write_time(t / "configs/a.yaml") - std::chrono::hours(5));
       },
       false},
      {"chmod", [](const fs::path& t) { fs::permissions(t / "configs/a.yaml", fs::perms::owner_all); }, false},
      {"add a sub-folder", [](const fs::path& t) { write_file(t / "configs/sub/inner.yaml", "inner"); }, false},
      {"add a .yamls file", [](const fs::path& t) { write_file(t / "configs/extra.yamls", "x"); }, false},
      {"add the requirements file", [](const fs::path& t) { write_file(t / "pods/quorvale-requirements.txt", "x"); },
       false},
      {"add a file outside the sections", [](const fs::path& t) { write_file(t / "other/z.yaml", "z"); }, false},
  };
  for (const auto& [what, change, changes_digest] : cases) {
    const fs::path folder = path(what);
    write_file(folder / "configs/a.yaml", "a: 1\n");
    write_file(folder / "pods/p.yaml", "kind: Pod\n");
    write_file(folder / "assets/x.txt", "x");
    const std::string before = digest_of(folder);
    change(folder);
    EXPECT_EQ(digest_of(folder) != before, changes_digest) << what;
  }
}

TEST_F(FilesTest, DigestHashesAnUnreadableFileAsEmpty) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  write_file(path("locked/configs/a.yaml"), "secret");
  write_file(path("open/configs/a.yaml"), "");
  fs::permissions(path("locked/configs/a.yaml"), fs::perms::none);
  EXPECT_EQ(digest_of(path("locked")), digest_of(path("open")));
}

}  // namespace
}  // namespace runtime::instance::upgrade::replay
