#include "runtime/instance/upgrade/catalog.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "backtrace_environment.h"
#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::catalog {
namespace {

namespace fs = std::filesystem;
using qv_error::testing_support::BacktraceEnvironment;
using spec::ActionKind;

constexpr std::string_view kVersion = "1.1";

// An upgrade tree holding the spec of version 1.1 and its content files,
// given relative to upgrades/1.1.
class Tree {
 public:
  explicit Tree(std::string_view spec, const std::vector<std::string>& content = {}) {
    folder_.write("upgrades/1.1.yaml", spec);
    for (const std::string& file : content) folder_.write(fs::path("upgrades/1.1") / file, "x: 1\n");
  }
  Tree() = default;

  const fs::path& root() const { return folder_.path(); }
  const test_support::TempFolder& folder() const { return folder_; }
  auto load() const { return load_spec(root(), kVersion); }

 private:
  test_support::TempFolder folder_;
};

struct FailCase {
  std::string name;
  std::string spec;
  std::vector<std::string> content;
  std::string code;
  // The whole message with "{0}" standing for the tree root; empty to check
  // the code only.
  std::string message;
  // A text the message must hold, for messages that carry a library text.
  std::string holds;
};

void expect_failures(const std::vector<FailCase>& cases) {
  BacktraceEnvironment environment("0", std::nullopt);
  for (const FailCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Tree tree(c.spec, c.content);
    auto spec = tree.load();
    ASSERT_FALSE(spec);
    ASSERT_TRUE(spec.error().source.has_value());
    EXPECT_EQ(spec.error().source->code, c.code) << spec.error().debug();
    const std::string message = spec.error().source->qv_error.message();
    if (!c.message.empty()) {
      EXPECT_EQ(message, fmt::format(fmt::runtime(c.message), tree.root().string()));
    }
    if (!c.holds.empty()) {
      EXPECT_THAT(message, testing::HasSubstr(c.holds));
    }
  }
}

TEST(CatalogPaths, JoinTheVersionVerbatim) {
  EXPECT_EQ(spec_path("k", "1.10.0"), fs::path("k/upgrades/1.10.0.yaml"));
  EXPECT_EQ(spec_path("/k", "v1"), fs::path("/k/upgrades/v1.yaml"));
  EXPECT_EQ(content_folder("k", "1.10.0"), fs::path("k/upgrades/1.10.0"));
  EXPECT_EQ(content_path("/k", "1.1", "pods", "worker_eks.yaml"), fs::path("/k/upgrades/1.1/pods/worker_eks.yaml"));
}

TEST(LoadSpec, ReadFailures) {
  BacktraceEnvironment environment("0", std::nullopt);
  const Tree absent;
  auto missing = absent.load();
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().source->code, "UpgradeError::5342");
  EXPECT_EQ(missing.error().source->qv_error.message(),
            fmt::format("Could not read the upgrade spec of version '1.1' at '{}/upgrades/1.1.yaml': "
                        "No such file or directory.",
                        absent.root().string()));

  expect_failures({
      {"not UTF-8",
       "schema: 1\nnote: \xff\n",
       {},
       "UpgradeError::5342",
       "Could not read the upgrade spec of version '1.1' at '{0}/upgrades/1.1.yaml': "
       "stream did not contain valid UTF-8.",
       ""},
  });
  const Tree folder_at_spec;
  folder_at_spec.folder().make_folder("upgrades/1.1.yaml");
  auto folder = folder_at_spec.load();
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error().source->code, "UpgradeError::5342");
}

TEST(LoadSpec, ParseFailures) {
  expect_failures({
      {"empty file", "", {}, "UpgradeError::5340", "", "Could not parse the upgrade spec of version '1.1': "},
      {"only a comment", "# nothing here\n", {}, "UpgradeError::5340", "", ""},
      {"second document after an end marker", "schema: 1\n...\n--- 2\n", {}, "UpgradeError::5340", "", ""},
      {"two documents", "schema: 1\n---\nschema: 1\n", {}, "UpgradeError::5340", "", ""},
      {"syntax error", "schema: [1\n", {}, "UpgradeError::5340", "", ""},
      {"no schema", "configs: {}\n", {}, "UpgradeError::5340", "", "schema"},
      {"retain with changes fails at the typed reading",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: retain, changes: []}\n",
       {},
       "UpgradeError::5340",
       "",
       "unknown field `changes`, there are no fields"},
      {"repeated variant fails at the dynamic reading",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: retain}\n    app.yaml: {action: delete}\n",
       {},
       "UpgradeError::5340",
       "",
       "duplicate entry with key"},
      {"repeated top-level field fails at the typed reading",
       "schema: 1\nschema: 1\n",
       {},
       "UpgradeError::5340",
       "",
       "duplicate field `schema`"},
  });
}

// Each check runs after the ones before it: a spec faulty in several ways
// reports the fault of the earliest step.
TEST(LoadSpec, ChecksRunInOrder) {
  expect_failures({
      {"schema before faulty entries",
       "schema: 2\nconfigs:\n  web.yaml:\n    app_eks.yaml: {action: create}\n",
       {"configs/notes.txt"},
       "UpgradeError::5341",
       "The upgrade spec of version '1.1' declares schema 2; this quorvale supports 1.",
       ""},
      {"schema before the dynamic reading",
       "schema: 2\nconfigs:\n  app.yaml:\n    app.yaml: {action: retain}\n    app.yaml: {action: delete}\n",
       {},
       "UpgradeError::5341",
       "",
       ""},
      {"resolved create before its missing content",
       "schema: 1\nresolved:\n  configs:\n    app.yaml:\n      app.yaml: {action: create}\n",
       {},
       "UpgradeError::5363",
       "The upgrade to '1.1' gives 'resolved/configs/app.yaml/app.yaml' the action 'create', but a resolved entry "
       "edits the file an instance holds, so it can only be 'modify' or 'retain'.",
       ""},
      {"resolved action before the group check",
       "schema: 1\nresolved:\n  configs:\n    web.yaml:\n      app_eks.yaml: {action: delete}\n",
       {},
       "UpgradeError::5363",
       "",
       "'delete'"},
      {"group check before missing content",
       "schema: 1\npods:\n  web.yaml:\n    app_eks.yaml: {action: create}\n",
       {},
       "UpgradeError::5353",
       "",
       ""},
      {"missing content before orphans",
       "schema: 1\npods:\n  worker.yaml:\n    worker.yaml: {action: create}\n",
       {"configs/notes.txt"},
       "UpgradeError::5343",
       "",
       ""},
  });
}

TEST(LoadSpec, ChangesUnderAnotherAction) {
  // The typed reading takes 123 and '123' as one key and keeps the retain
  // entry; the dynamic reading finds the modify entry with its changes.
  expect_failures({
      {"plain and quoted key",
       "schema: 1\nconfigs:\n  '123':\n    '123': {action: modify, changes: [{op: remove-leaf-if, leaf: a}]}\n"
       "    123: {action: retain}\n",
       {},
       "UpgradeError::5346",
       "The upgrade spec of version '1.1' declares changes for 'configs/123/123', whose action is not 'modify'.",
       ""},
  });
  // An entry in the sequence form is not looked at.
  const Tree sequence(
      "schema: 1\nassets:\n  '123':\n    '123': [modify, [{op: remove-leaf-if, leaf: a}]]\n    123: {action: "
      "retain}\n");
  auto spec = sequence.load();
  ASSERT_TRUE(spec) << spec.error().debug();
  EXPECT_EQ(spec->assets.at("123").at("123").kind, ActionKind::kRetain);
}

TEST(LoadSpec, ResolvedActions) {
  std::vector<FailCase> cases;
  for (std::string action : {"create", "replace", "delete", "merge"}) {
    cases.push_back(
        {action,
         fmt::format("schema: 1\nresolved:\n  configs:\n    a.yaml:\n      a_eks.yaml: {{action: {}}}\n", action),
         {},
         "UpgradeError::5363",
         "",
         fmt::format("'resolved/configs/a.yaml/a_eks.yaml' the action '{}'", action)});
  }
  expect_failures(cases);
}

TEST(LoadSpec, VariantsOutsideTheirGroup) {
  expect_failures({
      {"configs",
       "schema: 1\nconfigs:\n  web.yaml:\n    app_eks.yaml: {action: retain}\n",
       {},
       "UpgradeError::5353",
       "The upgrade to '1.1' groups the variant 'app_eks.yaml' under 'configs/web.yaml', but it belongs to "
       "'app.yaml'.",
       ""},
      {"resolved configs",
       "schema: 1\nresolved:\n  configs:\n    web.yaml:\n      app_eks.yaml: {action: modify, changes: []}\n",
       {},
       "UpgradeError::5353",
       "The upgrade to '1.1' groups the variant 'app_eks.yaml' under 'resolved/configs/web.yaml', but it belongs to "
       "'app.yaml'.",
       ""},
      {"assets after a valid group",
       "schema: 1\nassets:\n  a.yaml:\n    a_eks.yaml: {action: delete}\n  b.yaml:\n    a.yaml: {action: delete}\n",
       {},
       "UpgradeError::5353",
       "",
       "'a.yaml' under 'assets/b.yaml'"},
  });
}

TEST(LoadSpec, ContentFiles) {
  std::vector<FailCase> cases = {
      {"create without content",
       "schema: 1\npods:\n  worker.yaml:\n    worker.yaml: {action: create}\n",
       {},
       "UpgradeError::5343",
       "The upgrade spec of version '1.1' writes 'pods/worker.yaml/worker.yaml', but no content was found at "
       "'{0}/upgrades/1.1/pods/worker.yaml'.",
       ""},
      {"content looked up under its own family",
       "schema: 1\nassets:\n  a.yaml:\n    a_eks.yaml: {action: replace}\n",
       {"configs/a_eks.yaml"},
       "UpgradeError::5343",
       "",
       "'assets/a.yaml/a_eks.yaml'"},
      {"merge needs content",
       "schema: 1\nconfigs:\n  a.yaml:\n    a.yaml: {action: merge}\n",
       {},
       "UpgradeError::5343",
       "",
       ""},
      {"unclaimed file",
       "schema: 1\n",
       {"configs/notes.txt"},
       "UpgradeError::5344",
       "The upgrade content '{0}/upgrades/1.1/configs/notes.txt' of version '1.1' is not claimed by any 'create' or "
       "'replace' variant of its spec.",
       ""},
      {"content of a delete entry",
       "schema: 1\npods:\n  w.yaml:\n    w.yaml: {action: delete}\n",
       {"pods/w.yaml"},
       "UpgradeError::5344",
       "",
       "/upgrades/1.1/pods/w.yaml'"},
      {"content of a modify entry",
       "schema: 1\nassets:\n  w.yaml:\n    w.yaml: {action: modify, changes: []}\n",
       {"assets/w.yaml"},
       "UpgradeError::5344",
       "",
       ""},
      {"content of a retain entry",
       "schema: 1\nassets:\n  w.yaml:\n    w.yaml: {action: retain}\n",
       {"assets/w.yaml"},
       "UpgradeError::5344",
       "",
       ""},
      {"content of a resolved entry",
       "schema: 1\nresolved:\n  configs:\n    a.yaml:\n      a.yaml: {action: modify, changes: []}\n",
       {"configs/a.yaml"},
       "UpgradeError::5344",
       "",
       ""},
  };
  expect_failures(cases);

  BacktraceEnvironment environment("0", std::nullopt);
  const Tree folder_at_content("schema: 1\nconfigs:\n  a.yaml:\n    a.yaml: {action: create}\n");
  folder_at_content.folder().make_folder("upgrades/1.1/configs/a.yaml");
  auto folder = folder_at_content.load();
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error().source->code, "UpgradeError::5343");

  // A link to a file is a file; a dangling link is not.
  const Tree links("schema: 1\n", {"elsewhere.txt"});
  links.folder().make_folder("upgrades/1.1/pods");
  fs::create_symlink(links.root() / "missing", links.root() / "upgrades/1.1/pods/dangling.yaml");
  ASSERT_TRUE(links.load()) << links.load().error().debug();
  fs::create_symlink(links.root() / "upgrades/1.1/elsewhere.txt", links.root() / "upgrades/1.1/pods/linked.yaml");
  auto linked = links.load();
  ASSERT_FALSE(linked);
  EXPECT_EQ(linked.error().source->code, "UpgradeError::5344");
  EXPECT_THAT(linked.error().source->qv_error.message(), testing::HasSubstr("/upgrades/1.1/pods/linked.yaml'"));
}

TEST(LoadSpec, LoadsValidSpecs) {
  struct Case {
    std::string name;
    std::string spec;
    std::vector<std::string> content;
  };
  const std::vector<Case> cases = {
      {"only the schema", "schema: 1\n", {}},
      {"one document with markers", "---\nschema: 1\n...\n", {}},
      {"no content folder without content entries",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\n    app_eks.yaml: {action: modify, "
       "changes: []}\n    app_aks.yaml: {action: retain}\n",
       {}},
      {"claimed content of every writing action",
       "schema: 1\nassets:\n  a.yaml:\n    a.yaml: {action: create}\npods:\n  p.yaml:\n    p_eks.yaml: {action: "
       "replace}\nconfigs:\n  c.yaml:\n    c.yaml: {action: merge}\n",
       {"assets/a.yaml", "pods/p_eks.yaml", "configs/c.yaml"}},
      {"sub-folders and files outside the families ignored",
       "schema: 1\n",
       {"configs/extra/notes.txt", "readme.md", "other/notes.txt"}},
      {"family content folder that is a file", "schema: 1\n", {"pods"}},
      {"resolved retain and modify need no content",
       "schema: 1\nresolved:\n  configs:\n    app.yaml:\n      app.yaml: {action: retain}\n      app_eks.yaml: "
       "{action: modify, changes: []}\n",
       {}},
      {"schema groups are ordinary groups",
       "schema: 1\nconfigs:\n  a.schema.yaml:\n    a.schema.yaml: {action: create}\n",
       {"configs/a.schema.yaml"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Tree tree(c.spec, c.content);
    auto spec = tree.load();
    EXPECT_TRUE(spec) << spec.error().debug();
  }
  const Tree file_as_content_folder("schema: 1\n");
  file_as_content_folder.folder().write("upgrades/1.1", "not a folder");
  auto spec = file_as_content_folder.load();
  EXPECT_TRUE(spec) << spec.error().debug();
}

TEST(LoadSpec, ReturnsTheTypedSpec) {
  const Tree tree(
      "schema: 1\nconfigs:\n  app.yaml:\n    app_eks.yaml: {action: modify, changes: [{op: remove-leaf-if, leaf: a}]}\n"
      "pods:\n  w.yaml:\n    w.yaml: {action: create}\n",
      {"pods/w.yaml"});
  auto spec = tree.load();
  ASSERT_TRUE(spec) << spec.error().debug();
  EXPECT_EQ(spec->schema, 1u);
  EXPECT_EQ(spec->configs.at("app.yaml").at("app_eks.yaml").kind, ActionKind::kModify);
  EXPECT_EQ(spec->configs.at("app.yaml").at("app_eks.yaml").changes.size(), 1u);
  EXPECT_EQ(spec->pods.at("w.yaml").at("w.yaml").kind, ActionKind::kCreate);
  EXPECT_TRUE(spec->assets.empty());
}

TEST(LoadSpec, LinkedContentFollowsTheLink) {
  const Tree tree("schema: 1\nconfigs:\n  a.yaml:\n    a.yaml: {action: create}\n", {"elsewhere.txt"});
  tree.folder().make_folder("upgrades/1.1/configs");
  fs::create_symlink(tree.root() / "upgrades/1.1/elsewhere.txt", tree.root() / "upgrades/1.1/configs/a.yaml");
  auto spec = tree.load();
  EXPECT_TRUE(spec) << spec.error().debug();
}

}  // namespace
}  // namespace runtime::instance::upgrade::catalog
