// Runs `digests` of the built program on real git repositories and checks the
// printed report, the exit code, the digests document written and that no
// temporary folder is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/sha256.h"
#include "test_support/error_line.h"
#include "test_support/folder_files.h"
#include "test_support/git_repository.h"
#include "test_support/program.h"
#include "test_support/report_json.h"
#include "test_support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using test_support::files_below;
using test_support::Finished;
using test_support::GitRepository;
using test_support::json_list;
using test_support::mismatch_json;
using test_support::ProgramOptions;
using test_support::run_program;
using test_support::TempFolder;
using test_support::upgrade_error_line;

constexpr std::string_view kNoDigest = "has no recorded digest";
constexpr std::string_view kResolvesDifferently = "resolves differently from when its digest was recorded";
constexpr std::string_view kNoTemplate = "has a recorded digest but no released template";

// The digest of a template holding `files` ("section/name" and content) in
// the order configs, pods, assets and by name within a section.
std::string digest_of(const std::vector<std::pair<std::string, std::string>>& files) {
  platform::Sha256 sha;
  for (const auto& [path, content] : files) {
    sha.update(path);
    sha.update(content);
    sha.update(std::string_view("\0", 1));
  }
  return sha.hex_digest();
}

// The released templates: 0.9.0 serves eks, 1.0.0 eks and aks (without configs).
const std::string kEks090 =
    digest_of({{"configs/app.yaml", "name: nine\n"}, {"pods/web.yaml", "kind: Pod\n"}, {"assets/logo.txt", "logo\n"}});
const std::string kEks100 =
    digest_of({{"configs/app.yaml", "name: ten\n"}, {"pods/web.yaml", "kind: Pod\n"}, {"assets/logo.txt", "logo\n"}});
const std::string kAks100 = digest_of({{"pods/web.yaml", "kind: AksPod\n"}, {"assets/logo.txt", "logo\n"}});

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

std::string report(int recorded, const std::vector<std::string>& mismatches) {
  return "{\"recorded\":" + std::to_string(recorded) + ",\"mismatches\":" + json_list(mismatches) + "}\n";
}

// The written document: the 36-byte header, then `yaml`.
void expect_written(const std::string& text, const std::string& yaml) {
  ASSERT_GE(text.size(), 36U) << text;
  const std::string header = text.substr(0, 36);
  EXPECT_EQ(header.substr(0, 4), "#\n# ") << header;
  EXPECT_EQ(header.substr(32), "\n#\n\n") << header;
  EXPECT_EQ(header.substr(4, 28).find('\n'), std::string::npos) << header;
  EXPECT_EQ(text.substr(36), yaml);
}

class DigestsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    repo_.write_kprofile("configs", "app_eks.yaml", "name: nine\n");
    repo_.write_kprofile("pods", "web.yaml", "kind: Pod\n");
    repo_.write_kprofile("assets", "logo.txt", "logo\n");
    repo_.release("0.9.0");
    repo_.write_kprofile("configs", "app_eks.yaml", "name: ten\n");
    repo_.write_kprofile("pods", "web_aks.yaml", "kind: AksPod\n");
    repo_.release("1.0.0");
    repo_.write_kprofile("configs", "app_eks.yaml", "name: eleven\n");
    repo_.write_inventory(
        "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n"
        "  - {version: 0.9.0, upgrader: false}\n");
    fs::create_directories(repo_.config());
  }

  Finished digests(const std::vector<std::string>& extra = {}, ProgramOptions options = {}) const {
    options.arguments = {"digests", "--repository", repo_.root().string()};
    options.arguments.insert(options.arguments.end(), extra.begin(), extra.end());
    return run_program(options);
  }

  fs::path document() const { return repo_.config() / "digests.yaml"; }
  std::string document_text() const { return files_below(repo_.config()).at("digests.yaml"); }

  GitRepository repo_;
};

TEST_F(DigestsCommand, WithoutRecordEveryReleasedTemplateLacksItsDigest) {
  const Finished finished = digests();
  EXPECT_EQ(finished.out,
            report(0, {mismatch_json("eks", "0.9.0", "", kNoDigest), mismatch_json("eks", "1.0.0", "", kNoDigest),
                       mismatch_json("aks", "1.0.0", "", kNoDigest)}));
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
  EXPECT_FALSE(fs::exists(document()));
}

TEST_F(DigestsCommand, RecordCreatesTheDocumentOnceAndLeavesItAfterwards) {
  const Finished first = digests({"--record"});
  EXPECT_EQ(first.out, report(3, {}));
  EXPECT_EQ(first.err, "");
  EXPECT_EQ(first.code, 0);
  expect_written(document_text(), "versions:\n  0.9.0:\n    eks: " + kEks090 + "\n  1.0.0:\n    aks: " + kAks100 +
                                      "\n    eks: " + kEks100 + "\n");

  const std::string own_layout = "# kept as written\n" + document_text();
  repo_.write_digests(own_layout);
  for (const std::vector<std::string>& options : {std::vector<std::string>{"--record"}, std::vector<std::string>{}}) {
    const Finished again = digests(options);
    EXPECT_EQ(again.out, report(0, {}));
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(document_text(), own_layout);
  }
}

TEST_F(DigestsCommand, ReportsEachDigestReasonAndRecordsOnlyWhatIsMissing) {
  const std::string recorded = "# own comment\nnote: dropped when rewritten\nversions:\n  0.9.0: {eks: " + kEks090 +
                               "}\n  1.0.0: {eks: " + upper(kEks100) + ", docker: x}\n  1.1.0: {eks: " + kEks090 +
                               "}\n";
  repo_.write_digests(recorded);
  const Finished checked = digests();
  EXPECT_EQ(checked.out,
            report(0, {mismatch_json("eks", "1.0.0", "", kResolvesDifferently),
                       mismatch_json("aks", "1.0.0", "", kNoDigest), mismatch_json("eks", "1.1.0", "", kNoTemplate)}));
  EXPECT_EQ(checked.err, "");
  EXPECT_EQ(checked.code, 0);
  EXPECT_EQ(document_text(), recorded);

  const Finished record = digests({"--record"});
  EXPECT_EQ(record.out, report(1, {mismatch_json("eks", "1.0.0", "", kResolvesDifferently),
                                   mismatch_json("eks", "1.1.0", "", kNoTemplate)}));
  EXPECT_EQ(record.err, "");
  EXPECT_EQ(record.code, 0);
  expect_written(document_text(), "versions:\n  0.9.0:\n    eks: " + kEks090 + "\n  1.0.0:\n    aks: " + kAks100 +
                                      "\n    docker: x\n    eks: " + upper(kEks100) +
                                      "\n  1.1.0:\n    eks: " + kEks090 + "\n");
}

TEST_F(DigestsCommand, RecordFailsWhenTheConfigurationFolderIsMissing) {
  repo_.remove("variant/config");
  const Finished finished = digests({"--record"});
  EXPECT_EQ(finished.out, "");
  EXPECT_EQ(finished.err, upgrade_error_line(5362, "Could not write the template digests at '" + document().string() +
                                                       "': No such file or directory."));
  EXPECT_EQ(finished.code, 1);
  EXPECT_FALSE(fs::exists(repo_.config()));
}

TEST_F(DigestsCommand, LeavesNoTemporaryFolderBehind) {
  struct Case {
    std::string name;
    std::vector<std::string> options;
    bool config_folder;
    int code;
  };
  const Case cases[] = {
      {"a check", {}, true, 0},
      {"a record", {"--record"}, true, 0},
      {"a record that cannot be written", {"--record"}, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.config_folder) repo_.remove("variant/config");
    TempFolder temporary;
    const Finished finished = digests(c.options, {.environment = {{"TMPDIR", temporary.path().string()}}});
    EXPECT_EQ(finished.code, c.code) << finished.err;
    EXPECT_TRUE(fs::is_empty(temporary.path()));
  }
}

}  // namespace
