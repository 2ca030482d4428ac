#include "runtime/instance/upgrade/replay/replay.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "runtime/instance/upgrade/replay/materialize.h"
#include "test_support/git_repository.h"
#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::replay {
namespace {

namespace fs = std::filesystem;
using provider::ClusterProvider;
using Kprofile = std::map<std::string, std::string>;  // family/file to content

// Serves every candidate provider through its own id.yaml.
Kprofile base_kprofile() {
  return {{"configs/app.yaml", "name: a\n"},        {"configs/id_kminus.yaml", "id: kminus\n"},
          {"configs/id_eks.yaml", "id: eks\n"},     {"configs/id_aks.yaml", "id: aks\n"},
          {"configs/id_gke.yaml", "id: gke\n"},     {"pods/web.yaml", "kind: Pod\n"},
          {"assets/logo.txt", "logo\n"}};
}

// "provider version file reason" per mismatch.
std::vector<std::string> described(const std::vector<Mismatch>& mismatches) {
  std::vector<std::string> lines;
  for (const Mismatch& m : mismatches) {
    lines.push_back(std::string(provider::as_str(m.provider)) + " " + m.version + " " + m.file + " " +
                    std::string(m.reason));
  }
  return lines;
}

std::string content_of(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

class ReplayTest : public ::testing::Test {
 protected:
  // Makes `files` the working kprofile.
  void set_kprofile(const Kprofile& files) const {
    repo_.remove("variant/resources/kprofile");
    for (const auto& [path, content] : files) repo_.write(repo_.kprofile() / path, content);
  }
  void release(std::string_view version, const Kprofile& files) const {
    set_kprofile(files);
    repo_.release(version);
  }

  Sources sources() const { return {repo_.root(), repo_.kupgrade(), repo_.kprofile(), repo_.config()}; }

  qv_common::Result<std::vector<Mismatch>, core::system::exit::CommandError> run(
      const std::optional<fs::path>& diverged = std::nullopt) {
    auto templates = materialize(sources(), target_.path());
    if (!templates) return qv_common::fail(std::move(templates).error());
    return replay_all(sources(), *templates, diverged);
  }

  // 1.0.0 without the aks and gke ids; 1.1.0 drops aks and changes a file of
  // every section, while its upgrader only creates configs/a.yaml; 1.2.0
  // serves aks again and gke for the first time.
  void diverging_history() const {
    Kprofile v100 = base_kprofile();
    v100.erase("configs/id_gke.yaml");
    release("1.0.0", v100);
    Kprofile v110 = v100;
    v110.erase("configs/id_aks.yaml");
    v110["configs/app.yaml"] = "name: b\n";
    v110["pods/new.yaml"] = "new\n";
    v110["assets/logo.txt"] = "logo 2\n";
    release("1.1.0", v110);
    Kprofile v120 = v110;
    v120["configs/id_aks.yaml"] = "id: aks\n";
    v120["configs/id_gke.yaml"] = "id: gke\n";
    set_kprofile(v120);
    repo_.write_inventory(
        "schema: 1\nversions:\n  - {version: 1.2.0, upgrader: false}\n  - {version: 1.1.0, upgrader: true}\n"
        "  - {version: 1.0.0, upgrader: false}\n");
    repo_.write_spec("1.1.0", "schema: 1\nconfigs:\n  a.yaml:\n    a.yaml: {action: create}\n");
    repo_.write_content("1.1.0", "configs", "a.yaml", "a: 1\n");
  }

  test_support::GitRepository repo_;
  test_support::TempFolder target_;
};

TEST_F(ReplayTest, SoundUpgradersYieldNoMismatch) {
  release("1.0.0", base_kprofile());
  Kprofile v110 = base_kprofile();
  v110["configs/app.yaml"] = "name: b\n";
  v110["pods/worker.yaml"] = "kind: Worker\n";
  release("1.1.0", v110);
  Kprofile v120 = v110;
  v120["configs/app.yaml"] = "# renamed\nname: 'b'\n";
  v120.erase("assets/logo.txt");
  v120["assets/readme.txt"] = "read me\n";
  set_kprofile(v120);
  repo_.write_inventory(
      "schema: 1\nversions:\n  - {version: 1.2.0, upgrader: true}\n  - {version: 1.1.0, upgrader: true}\n"
      "  - {version: 1.0.0, upgrader: false}\n");
  repo_.write_spec("1.1.0",
                   "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: replace}\n"
                   "pods:\n  worker.yaml:\n    worker.yaml: {action: create}\n");
  repo_.write_content("1.1.0", "configs", "app.yaml", "name: b\n");
  repo_.write_content("1.1.0", "pods", "worker.yaml", "kind: Worker\n");
  repo_.write_spec("1.2.0",
                   "schema: 1\nassets:\n  logo.txt:\n    logo.txt: {action: delete}\n"
                   "  readme.txt:\n    readme.txt: {action: create}\n");
  repo_.write_content("1.2.0", "assets", "readme.txt", "# a comment line\nread me\n");
  auto mismatches = run();
  ASSERT_TRUE(mismatches) << mismatches.error().debug();
  EXPECT_EQ(described(*mismatches), std::vector<std::string>{});
}

TEST_F(ReplayTest, ReportsEveryReasonInOrder) {
  diverging_history();
  auto mismatches = run();
  ASSERT_TRUE(mismatches) << mismatches.error().debug();
  EXPECT_EQ(described(*mismatches), (std::vector<std::string>{
                                        "kminus 1.1.0 configs/a.yaml is left over",
                                        "kminus 1.1.0 configs/app.yaml differs",
                                        "kminus 1.1.0 pods/new.yaml is missing",
                                        "kminus 1.1.0 assets/logo.txt differs",
                                        "eks 1.1.0 configs/a.yaml is left over",
                                        "eks 1.1.0 configs/app.yaml differs",
                                        "eks 1.1.0 pods/new.yaml is missing",
                                        "eks 1.1.0 assets/logo.txt differs",
                                        "aks 1.1.0  is no longer served by this version's kprofile",
                                    }));
}

TEST_F(ReplayTest, DivergedFolderKeepsTheUpgradedStateOfEachDivergingHop) {
  diverging_history();
  const test_support::TempFolder diverged;
  diverged.write("kminus/1.1.0/configs/stale.yaml", "stale\n");
  diverged.write("kminus/0.9.0/configs/keep.yaml", "keep\n");
  auto mismatches = run(diverged.path());
  ASSERT_TRUE(mismatches) << mismatches.error().debug();
  EXPECT_EQ(mismatches->size(), 9u);
  for (const char* provider : {"kminus", "eks"}) {
    const fs::path hop = diverged.path() / provider / "1.1.0";
    EXPECT_EQ(content_of(hop / "configs/a.yaml"), "a: 1\n") << provider;
    EXPECT_EQ(content_of(hop / "configs/app.yaml"), "name: a\n") << provider;
    EXPECT_EQ(content_of(hop / "assets/logo.txt"), "logo\n") << provider;
    EXPECT_FALSE(fs::exists(hop / "pods/new.yaml")) << provider;
    EXPECT_FALSE(fs::exists(diverged.path() / provider / "1.2.0")) << provider;
  }
  EXPECT_FALSE(fs::exists(diverged.path() / "kminus/1.1.0/configs/stale.yaml"));
  EXPECT_TRUE(fs::exists(diverged.path() / "kminus/0.9.0/configs/keep.yaml"));
  EXPECT_FALSE(fs::exists(diverged.path() / "aks"));
  EXPECT_FALSE(fs::exists(diverged.path() / "gke"));
}

TEST_F(ReplayTest, ReleaseWithoutUpgraderIsStillCompared) {
  Kprofile v100 = base_kprofile();
  v100.erase("configs/id_gke.yaml");
  release("1.0.0", v100);
  Kprofile v110 = v100;
  v110["configs/app.yaml"] = "name: b\n";
  set_kprofile(v110);
  repo_.write_inventory(
      "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n");
  auto mismatches = run();
  ASSERT_TRUE(mismatches) << mismatches.error().debug();
  EXPECT_EQ(described(*mismatches), (std::vector<std::string>{
                                        "kminus 1.1.0 configs/app.yaml differs",
                                        "eks 1.1.0 configs/app.yaml differs",
                                        "aks 1.1.0 configs/app.yaml differs",
                                        "gke 1.1.0  is served by no version's kprofile",
                                    }));
}

TEST_F(ReplayTest, UpgraderFailureEndsTheReplay) {
  release("1.0.0", base_kprofile());
  set_kprofile(base_kprofile());
  repo_.write_inventory(
      "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: true}\n  - {version: 1.0.0, upgrader: false}\n");
  repo_.write_spec("1.1.0", "schema: 2\n");
  auto mismatches = run();
  ASSERT_FALSE(mismatches);
  ASSERT_TRUE(mismatches.error().source);
  EXPECT_EQ(mismatches.error().source->code, "UpgradeError::5341");
}

struct CompareCase {
  std::string name;
  std::string upgraded;
  std::string released;
  bool equal;
};

TEST(Compare, YamlFilesCompareByValueOtherFilesByUncommentedLines) {
  const std::vector<CompareCase> cases = {
      {"a.yaml", "a: 1\nb: x\n", "# note\nb: 'x'\na:   1\n", true},
      {"a.yaml", "a: [1, 2]\n", "a:\n  - 1\n  - 2\n", true},
      {"a.yaml", "a: {b: 1, c: 2}\n", "a:\n  c: 2\n  b: 1\n", true},
      {"a.yaml", "a: 1\n", "a: '1'\n", false},
      {"a.yaml", "a: [1, 2]\n", "a: [2, 1]\n", false},
      {"a.yaml", "a: [\n", "# broken either way\na: [\n", true},
      {"a.yaml", "a: [\n", "a: [ \n", true},
      {"a.yaml", "a: 1\n---\nb: 2\n", "a: 1\n---\nb: 2\n\n# end\n", true},
      {"a.yaml", "a: 1\n---\nb: 2\n", "b: 2\n---\na: 1\n", false},
      {"a.yaml", "a: 1\nb: 2\n", "a: 1\nb: 2\n---\n", false},
      {"a.yml", "a: 1\nb: 2\n", "b: 2\na: 1\n", false},
      {"a.txt", "a: 1\nb: 2\n", "b: 2\na: 1\n", false},
      {"a.txt", "x\n\n# comment\n   # indented comment\ny  \t\n", "x\ny", true},
      {"a.txt", "x\r\ny\r\n", "x\ny\n", true},
      {"a.txt", "x\xc2\xa0\n", "x\n", true},
      {"a.txt", "x # trailing comment\n", "x\n", false},
      {"a.txt", "  x\n", "x\n", false},
      {"a.txt", "\xff\xfe\n", "", true},
      {"a.txt", "\xff\xfe\n", "x\n", false},
  };
  for (const CompareCase& c : cases) {
    SCOPED_TRACE(c.name + ": " + c.upgraded + " | " + c.released);
    const test_support::TempFolder folder;
    folder.write("upgraded/configs/" + c.name, c.upgraded);
    folder.write("released/configs/" + c.name, c.released);
    const auto mismatches =
        compare(folder.path() / "upgraded", folder.path() / "released", ClusterProvider::kAks, "2.0.0");
    if (c.equal) {
      EXPECT_EQ(described(mismatches), std::vector<std::string>{});
    } else {
      EXPECT_EQ(described(mismatches), std::vector<std::string>{"aks 2.0.0 configs/" + c.name + " differs"});
    }
  }
}

TEST(Compare, WalksSectionsThenNamesAndIgnoresWhatIsNotCompared) {
  const test_support::TempFolder folder;
  for (const char* side : {"upgraded", "released"}) {
    const fs::path root = folder.path() / side;
    folder.write(root / "configs/sub" / side, side);
    folder.write(root / "configs/bundle.yamls", side);
    folder.write(root / "configs/quorvale-requirements.txt", side);
    folder.write(root / "other/x.yaml", side);
  }
  folder.write("upgraded/assets/b.txt", "b");
  folder.write("upgraded/assets/B.txt", "B");
  folder.write("released/assets/a.txt", "a");
  folder.write("released/pods/z.yaml", "z: 1\n");
  folder.write("upgraded/pods/z.yaml", "z: 2\n");
  folder.write("upgraded/configs/only.yaml", "");
  const auto mismatches =
      compare(folder.path() / "upgraded", folder.path() / "released", ClusterProvider::kGke, "2.0.0");
  EXPECT_EQ(described(mismatches), (std::vector<std::string>{
                                       "gke 2.0.0 configs/only.yaml is left over",
                                       "gke 2.0.0 pods/z.yaml differs",
                                       "gke 2.0.0 assets/B.txt is left over",
                                       "gke 2.0.0 assets/a.txt is missing",
                                       "gke 2.0.0 assets/b.txt is left over",
                                   }));
}

}  // namespace
}  // namespace runtime::instance::upgrade::replay
