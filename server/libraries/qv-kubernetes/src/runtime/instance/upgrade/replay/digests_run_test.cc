#include "runtime/instance/upgrade/replay/digests_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "runtime/instance/upgrade/replay/digests.h"
#include "runtime/instance/upgrade/replay/files.h"
#include "runtime/instance/upgrade/replay/materialize.h"
#include "test_support/git_repository.h"
#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using provider::ClusterProvider;

std::string content_of(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> described(const std::vector<Mismatch>& mismatches) {
  std::vector<std::string> lines;
  for (const Mismatch& m : mismatches) {
    EXPECT_EQ(m.file, "");
    lines.push_back(std::string(provider::as_str(m.provider)) + " " + m.version + " " + std::string(m.reason));
  }
  return lines;
}

// Released templates: 0.9.0 for aks, 1.0.0 for eks and aks; 1.1.0 is the newest.
class DigestsRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    repo_.write_kprofile("configs", "app_aks.yaml", "aks: 0.9\n");
    repo_.write_kprofile("configs", "app_docker.yaml", "docker\n");
    repo_.write_kprofile("pods", "web.yaml", "kind: Pod\n");
    repo_.write_kprofile("assets", "logo.txt", "logo\n");
    repo_.release("0.9.0");
    repo_.write_kprofile("configs", "app_aks.yaml", "aks: 1.0\n");
    repo_.write_kprofile("configs", "app_eks.yaml", "eks: 1.0\n");
    repo_.release("1.0.0");
    repo_.remove("variant/resources/kprofile/configs/app_aks.yaml");
    repo_.write_inventory(
        "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n"
        "  - {version: 0.9.0, upgrader: false}\n");
    fs::create_directories(repo_.config());
    auto templates = materialize(sources(), target_.path());
    ASSERT_TRUE(templates) << templates.error().debug();
    templates_ = std::move(*templates);
  }

  Sources sources() const { return {repo_.root(), repo_.kupgrade(), repo_.kprofile(), repo_.config()}; }
  std::string digest(std::string_view version, ClusterProvider provider) const {
    return digest_of(templates_.folder_of(version, provider));
  }
  fs::path digests_path() const { return repo_.config() / "digests.yaml"; }

  DigestsOutcome check(bool record) const {
    auto outcome = check_digests(sources(), templates_, record);
    EXPECT_TRUE(outcome) << outcome.error().debug();
    return outcome ? std::move(*outcome) : DigestsOutcome{};
  }

  // The file as written by a record of `versions`.
  static std::string written(std::string_view versions) { return std::string(kDigestsHeader) + std::string(versions); }

  test_support::GitRepository repo_;
  test_support::TempFolder target_;
  Templates templates_;
};

TEST_F(DigestsRunTest, WithoutFileOrRecordEveryReleasedTemplateHasNoDigest) {
  const DigestsOutcome outcome = check(false);
  EXPECT_EQ(outcome.recorded, 0u);
  EXPECT_EQ(described(outcome.mismatches),
            (std::vector<std::string>{"aks 0.9.0 has no recorded digest", "eks 1.0.0 has no recorded digest",
                                      "aks 1.0.0 has no recorded digest"}));
  EXPECT_FALSE(fs::exists(digests_path()));
}

TEST_F(DigestsRunTest, RecordCreatesTheFileThenFindsNothing) {
  const DigestsOutcome first = check(true);
  EXPECT_EQ(first.recorded, 3u);
  EXPECT_EQ(described(first.mismatches), std::vector<std::string>{});
  for (const auto& [version, provider] : {std::pair{"0.9.0", ClusterProvider::kAks},
                                          {"1.0.0", ClusterProvider::kEks}}) {
    const std::string hex = digest(version, provider);
    EXPECT_EQ(hex.size(), 64u);
    EXPECT_TRUE(std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(c) && !std::isupper(c); }));
  }
  EXPECT_NE(digest("1.0.0", ClusterProvider::kAks), digest("0.9.0", ClusterProvider::kAks));
  const std::string text = content_of(digests_path());
  EXPECT_EQ(text, written("versions:\n  0.9.0:\n    aks: " + digest("0.9.0", ClusterProvider::kAks) +
                          "\n  1.0.0:\n    aks: " + digest("1.0.0", ClusterProvider::kAks) +
                          "\n    eks: " + digest("1.0.0", ClusterProvider::kEks) + "\n"));

  const DigestsOutcome second = check(true);
  EXPECT_EQ(second.recorded, 0u);
  EXPECT_EQ(described(second.mismatches), std::vector<std::string>{});
  EXPECT_EQ(content_of(digests_path()), text);
}

TEST_F(DigestsRunTest, RecordWithNothingMissingLeavesTheFileAlone) {
  const std::string text = "# hand written\nversions:\n  '0.9.0': {aks: " + digest("0.9.0", ClusterProvider::kAks) +
                           "}\n  1.0.0:\n    eks: " + digest("1.0.0", ClusterProvider::kEks) +
                           "   # eks\n    aks: " + digest("1.0.0", ClusterProvider::kAks) + "\nnote: kept\n";
  repo_.write_digests(text);
  const DigestsOutcome outcome = check(true);
  EXPECT_EQ(outcome.recorded, 0u);
  EXPECT_EQ(described(outcome.mismatches), std::vector<std::string>{});
  EXPECT_EQ(content_of(digests_path()), text);
}

TEST_F(DigestsRunTest, RecordRewritesTheWholeFileAndKeepsWhatItDoesNotKnow) {
  repo_.write_digests("# my own comment\nnote: dropped\nversions:\n  1.0.0:\n    docker: d\n    fargate: f\n"
                      "    unknown: u\n  0.9.0:\n    aks: " +
                      digest("0.9.0", ClusterProvider::kAks) + "\n");
  const DigestsOutcome outcome = check(true);
  EXPECT_EQ(outcome.recorded, 2u);
  EXPECT_EQ(described(outcome.mismatches), std::vector<std::string>{});
  EXPECT_EQ(content_of(digests_path()),
            written("versions:\n  0.9.0:\n    aks: " + digest("0.9.0", ClusterProvider::kAks) + "\n  1.0.0:\n    aks: " +
                    digest("1.0.0", ClusterProvider::kAks) + "\n    docker: d\n    eks: " +
                    digest("1.0.0", ClusterProvider::kEks) + "\n    fargate: f\n    unknown: u\n"));
}

TEST_F(DigestsRunTest, RecordNeverReplacesAWrongDigest) {
  repo_.write_digests("versions:\n  0.9.0: {aks: '0000'}\n");
  const DigestsOutcome outcome = check(true);
  EXPECT_EQ(outcome.recorded, 2u);
  EXPECT_EQ(described(outcome.mismatches),
            std::vector<std::string>{"aks 0.9.0 resolves differently from when its digest was recorded"});
  auto digests = read_digests(digests_path());
  ASSERT_TRUE(digests);
  EXPECT_EQ(digests->versions["0.9.0"]["aks"], "0000");
}

TEST_F(DigestsRunTest, DigestsCompareAsExactText) {
  std::string upper = digest("1.0.0", ClusterProvider::kEks);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  repo_.write_digests("versions:\n  0.9.0: {aks: " + digest("0.9.0", ClusterProvider::kAks) + "}\n  1.0.0: {eks: " +
                      upper + ", aks: " + digest("1.0.0", ClusterProvider::kAks) + "}\n");
  EXPECT_EQ(described(check(false).mismatches),
            std::vector<std::string>{"eks 1.0.0 resolves differently from when its digest was recorded"});
}

TEST_F(DigestsRunTest, RecordedDigestsWithoutReleasedTemplateFollowInTextOrder) {
  repo_.write_digests("versions:\n"
                      "  1.1.0: {eks: a, docker: b, fargate: c, other: d}\n"
                      "  0.9.0: {aks: " +
                      digest("0.9.0", ClusterProvider::kAks) +
                      ", eks: e, docker: f}\n"
                      "  0.10.0: {gke: g, kminus: h}\n");
  const DigestsOutcome outcome = check(false);
  EXPECT_EQ(outcome.recorded, 0u);
  EXPECT_EQ(described(outcome.mismatches), (std::vector<std::string>{
                                               "eks 1.0.0 has no recorded digest",
                                               "aks 1.0.0 has no recorded digest",
                                               "gke 0.10.0 has a recorded digest but no released template",
                                               "kminus 0.10.0 has a recorded digest but no released template",
                                               "eks 0.9.0 has a recorded digest but no released template",
                                               "eks 1.1.0 has a recorded digest but no released template",
                                           }));
}

TEST_F(DigestsRunTest, RecordWithoutConfigFolderFailsToWrite) {
  fs::remove_all(repo_.config());
  auto outcome = check_digests(sources(), templates_, true);
  ASSERT_FALSE(outcome);
  ASSERT_TRUE(outcome.error().source);
  EXPECT_EQ(outcome.error().source->code, "UpgradeError::5362");
  EXPECT_FALSE(fs::exists(digests_path()));
  auto unrecorded = check_digests(sources(), templates_, false);
  EXPECT_TRUE(unrecorded) << unrecorded.error().debug();
}

TEST_F(DigestsRunTest, InvalidDocumentFailsWithOrWithoutRecord) {
  repo_.write_digests("versions: [\n");
  for (const bool record : {false, true}) {
    auto outcome = check_digests(sources(), templates_, record);
    ASSERT_FALSE(outcome);
    ASSERT_TRUE(outcome.error().source);
    EXPECT_EQ(outcome.error().source->code, "UpgradeError::5361");
  }
  EXPECT_EQ(content_of(digests_path()), "versions: [\n");
}

}  // namespace
}  // namespace runtime::instance::upgrade::replay
