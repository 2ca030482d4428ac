#include "runtime/instance/upgrade/replay/digests.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using Versions = std::map<std::string, std::map<std::string, std::string>>;

std::string content_of(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST(ReadDigests, MissingFileIsAnEmptyDocument) {
  const test_support::TempFolder folder;
  auto digests = read_digests(folder.path() / "digests.yaml");
  ASSERT_TRUE(digests) << digests.error().debug();
  EXPECT_TRUE(digests->versions.empty());
  EXPECT_FALSE(fs::exists(folder.path() / "digests.yaml"));
}

TEST(ReadDigests, ReadsScalarsAsWrittenAndKeepsTheLastRepeatedKey) {
  const test_support::TempFolder folder;
  const fs::path path = folder.write("digests.yaml",
                                     "# comment\n"
                                     "other: ignored\n"
                                     "versions:\n"
                                     "  0.10:\n"
                                     "    eks: 0012\n"
                                     "  '1.0.0':\n"
                                     "    aks: first\n"
                                     "    aks: second\n"
                                     "  1.0.0:\n"
                                     "    gke: last\n"
                                     "  2.0.0: {}\n");
  auto digests = read_digests(path);
  ASSERT_TRUE(digests) << digests.error().debug();
  EXPECT_EQ(digests->versions,
            (Versions{{"0.10", {{"eks", "0012"}}}, {"1.0.0", {{"gke", "last"}}}, {"2.0.0", {}}}));
}

TEST(ReadDigests, IgnoresUnknownTopLevelKeysOfEveryKind) {
  for (std::string_view key : {"true: x", "1.5: x", "~: x", "? [a]\n: x", "-1: x", "!t note: x", "note: !t x",
                               "? {k: v}\n: x", "7: x"}) {
    SCOPED_TRACE(key);
    const test_support::TempFolder folder;
    const fs::path path = folder.write("digests.yaml", std::string(key) + "\nversions:\n  1.0.0: {eks: d}\n");
    auto digests = read_digests(path);
    ASSERT_TRUE(digests) << digests.error().debug();
    EXPECT_EQ(digests->versions, (Versions{{"1.0.0", {{"eks", "d"}}}}));
  }
}

TEST(ReadDigests, UnreadableOrInvalidDocumentFailsToRead) {
  const std::vector<std::string> documents = {
      "",
      "# only comments\n",
      "versions:\n  1.0.0: {eks: a}\n---\nversions: {}\n",
      "other: 1\n",
      "versions: {}\nversions: {}\n",
      "versions:\n  - 1.0.0\n",
      "versions:\n  1.0.0: abc\n",
      "versions:\n  1.0.0:\n    eks: [a]\n",
      "- versions\n",
      "versions: {\n",
      "versions:\n  1.0.0: {eks: \xff}\n",
  };
  for (const std::string& document : documents) {
    SCOPED_TRACE(document);
    const test_support::TempFolder folder;
    const fs::path path = folder.write("digests.yaml", document);
    auto digests = read_digests(path);
    ASSERT_FALSE(digests);
    ASSERT_TRUE(digests.error().source);
    EXPECT_EQ(digests.error().source->code, "UpgradeError::5361");
    const std::string message = digests.error().source->qv_error.message();
    EXPECT_EQ(message.rfind("Could not read the template digests at '" + path.string() + "': ", 0), 0u) << message;
  }
}

TEST(ReadDigests, FolderAtThePathFailsToRead) {
  const test_support::TempFolder folder;
  const fs::path path = folder.make_folder("digests.yaml");
  auto digests = read_digests(path);
  ASSERT_FALSE(digests);
  EXPECT_EQ(digests.error().source->code, "UpgradeError::5361");
}

TEST(WriteDigests, WritesTheHeaderAndBlockYaml) {
  EXPECT_EQ(kDigestsHeader.size(), 36u);
  EXPECT_TRUE(kDigestsHeader.starts_with("#\n# "));
  EXPECT_TRUE(kDigestsHeader.ends_with("\n#\n\n"));
  const test_support::TempFolder folder;
  const fs::path path = folder.write("digests.yaml", "old text that is longer than nothing\n");
  const std::string hex(64, 'a');
  const Digests digests{Versions{{"1.0.0", {{"eks", hex}, {"aks", hex}}}, {"0.9.0", {{"gke", hex}}}}};
  ASSERT_TRUE(write_digests(path, digests));
  EXPECT_EQ(content_of(path), std::string(kDigestsHeader) + "versions:\n  0.9.0:\n    gke: " + hex +
                                  "\n  1.0.0:\n    aks: " + hex + "\n    eks: " + hex + "\n");
  auto back = read_digests(path);
  ASSERT_TRUE(back) << back.error().debug();
  EXPECT_EQ(back->versions, digests.versions);
}

TEST(WriteDigests, TextsThatLookLikeOtherScalarsReadBackAsWritten) {
  const test_support::TempFolder folder;
  const fs::path path = folder.path() / "digests.yaml";
  const Digests digests{Versions{{"0.10", {{"eks", "0012"}, {"aks", "true"}, {"gke", "1e5"}}}}};
  ASSERT_TRUE(write_digests(path, digests));
  auto back = read_digests(path);
  ASSERT_TRUE(back) << back.error().debug();
  EXPECT_EQ(back->versions, digests.versions);
}

TEST(WriteDigests, MissingFolderFailsToWrite) {
  const test_support::TempFolder folder;
  const fs::path path = folder.path() / "absent" / "digests.yaml";
  auto written = write_digests(path, Digests{});
  ASSERT_FALSE(written);
  ASSERT_TRUE(written.error().source);
  EXPECT_EQ(written.error().source->code, "UpgradeError::5362");
  const std::string message = written.error().source->qv_error.message();
  EXPECT_EQ(message.rfind("Could not write the template digests at '" + path.string() + "': ", 0), 0u) << message;
  EXPECT_FALSE(fs::exists(folder.path() / "absent"));
}

}  // namespace
}  // namespace runtime::instance::upgrade::replay
