// Runs `upgrade` of the built program on small upgrade trees and kprofile
// folders and checks the printed report, the exit code and the files left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/error_line.h"
#include "test_support/upgrade_tree.h"

namespace {

using test_support::Files;
using test_support::Finished;
using test_support::run_program;
using test_support::upgrade_error_line;
using test_support::UpgradeTree;

// One upgrade run: the tree before it, the report it prints and the kprofile after it.
struct RunCase {
  std::string name;
  std::string spec;
  Files content;
  Files before;
  std::string report;
  Files after;
};

void expect_run(const RunCase& c) {
  SCOPED_TRACE(c.name);
  UpgradeTree tree;
  tree.spec("1.1", c.spec);
  tree.content("1.1", c.content);
  tree.profile(c.before);
  const Finished finished = tree.upgrade("1.1");
  EXPECT_EQ(finished.out, c.report + "\n");
  EXPECT_EQ(finished.err, "");
  EXPECT_EQ(finished.code, 0);
  EXPECT_EQ(tree.profile_files(), c.after);
}

std::string step(std::string_view family, std::string_view file, std::string_view variant, std::string_view action,
                 bool changed) {
  return "{\"family\":\"" + std::string(family) + "\",\"file\":\"" + std::string(file) + "\",\"variant\":\"" +
         std::string(variant) + "\",\"action\":\"" + std::string(action) +
         "\",\"changed\":" + (changed ? "true" : "false") + "}";
}

std::string report(const std::vector<std::string>& steps) {
  std::string list;
  for (const std::string& s : steps) list += (list.empty() ? "" : ",") + s;
  return "{\"version\":\"1.1\",\"steps\":[" + list + "]}";
}

TEST(UpgradeCommand, EachActionChangesItsFileAndReportsIt) {
  const std::string app = "# old\na: 1\n";
  const RunCase cases[] = {
      {"retain leaves an existing file",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: retain}\n",
       {},
       {{"configs/app.yaml", app}},
       report({step("configs", "app.yaml", "app.yaml", "retain", false)}),
       {{"configs/app.yaml", app}}},
      {"retain of an absent file still reports it",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: retain}\n",
       {},
       {},
       report({step("configs", "app.yaml", "app.yaml", "retain", false)}),
       {}},
      {"create writes into a family folder that does not exist yet",
       "schema: 1\npods:\n  worker.yaml:\n    worker_eks.yaml: {action: create}\n",
       {{"pods/worker_eks.yaml", "kind: Pod\n"}},
       {{"configs/app.yaml", app}},
       report({step("pods", "worker.yaml", "worker_eks.yaml", "create", true)}),
       {{"configs/app.yaml", app}, {"pods/worker_eks.yaml", "kind: Pod\n"}}},
      {"create overwrites an existing file",
       "schema: 1\nassets:\n  logo.svg:\n    logo.svg: {action: create}\n",
       {{"assets/logo.svg", "<new/>"}},
       {{"assets/logo.svg", "<old/>"}},
       report({step("assets", "logo.svg", "logo.svg", "create", true)}),
       {{"assets/logo.svg", "<new/>"}}},
      {"replace with the same text still counts as changed",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: replace}\n",
       {{"configs/app.yaml", app}},
       {{"configs/app.yaml", app}},
       report({step("configs", "app.yaml", "app.yaml", "replace", true)}),
       {{"configs/app.yaml", app}}},
      {"delete of a named file removes only that file",
       "schema: 1\nconfigs:\n  app.yaml:\n    app_eks.yaml: {action: delete}\n",
       {},
       {{"configs/app.yaml", app}, {"configs/app_eks.yaml", app}, {"configs/app_aks.yaml", app}},
       report({step("configs", "app.yaml", "app_eks.yaml", "delete", true)}),
       {{"configs/app.yaml", app}, {"configs/app_aks.yaml", app}}},
      {"delete of an absent file removes every variant of its group in byte order",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\n",
       {},
       {{"configs/app_eks.yaml", app},
        {"configs/app_Zed.yaml", app},
        {"configs/app_aks.yaml", app},
        {"configs/apps.yaml", app},
        {"configs/web_eks.yaml", app},
        {"pods/app_eks.yaml", app}},
       report({step("configs", "app.yaml", "app_Zed.yaml", "delete", true),
               step("configs", "app.yaml", "app_aks.yaml", "delete", true),
               step("configs", "app.yaml", "app_eks.yaml", "delete", true)}),
       {{"configs/apps.yaml", app}, {"configs/web_eks.yaml", app}, {"pods/app_eks.yaml", app}}},
      {"a second delete of an already removed file succeeds",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\n    app_eks.yaml: {action: delete}\n",
       {},
       {{"configs/app_eks.yaml", app}},
       report({step("configs", "app.yaml", "app_eks.yaml", "delete", true),
               step("configs", "app.yaml", "app_eks.yaml", "delete", true)}),
       {}},
      {"delete and modify that match no file plan no step",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\npods:\n  web.yaml:\n"
       "    web_eks.yaml: {action: modify, changes: [{op: remove-leaf-if, leaf: a}]}\n",
       {},
       {{"configs/web.yaml", app}},
       report({}),
       {{"configs/web.yaml", app}}},
      {"modify with no operations rewrites the file with its own text",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: modify, changes: []}\n",
       {},
       {{"configs/app.yaml", app}},
       report({step("configs", "app.yaml", "app.yaml", "modify", false)}),
       {{"configs/app.yaml", app}}},
      {"modify of an absent file edits every variant of its group",
       "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml:\n      action: modify\n"
       "      changes: [{op: modify-leaf-value-if, leaf: a, from: 1, to: 2}]\n",
       {},
       {{"configs/app_gke.yaml", "a: 1\n"}, {"configs/app_eks.yaml", "a: 5\n"}},
       report({step("configs", "app.yaml", "app_eks.yaml", "modify", false),
               step("configs", "app.yaml", "app_gke.yaml", "modify", true)}),
       {{"configs/app_eks.yaml", "a: 5\n"}, {"configs/app_gke.yaml", "a: 2\n"}}},
      {"a file created by an earlier step is not found by a later variant search",
       "schema: 1\npods:\n  a.yaml:\n    a_aks.yaml: {action: create}\n    a_eks.yaml: {action: delete}\n",
       {{"pods/a_aks.yaml", "x: 1\n"}},
       {{"pods/keep.yaml", "k: 1\n"}},
       report({step("pods", "a.yaml", "a_aks.yaml", "create", true)}),
       {{"pods/a_aks.yaml", "x: 1\n"}, {"pods/keep.yaml", "k: 1\n"}}},
  };
  for (const RunCase& c : cases) expect_run(c);
}

TEST(UpgradeCommand, StepsFollowFamiliesThenGroupsThenVariantsInByteOrder) {
  expect_run({"plan order",
              "schema: 1\n"
              "note: ignored\n"
              "pods:\n"
              "  b.yaml: {b.yaml: {action: retain}}\n"
              "  a.yaml: {a_eks.yaml: {action: retain}, a.yaml: {action: retain}}\n"
              "resolved:\n"
              "  configs:\n"
              "    a.yaml: {a.yaml: {action: modify, changes: [{op: remove-leaf-if, leaf: a}]}}\n"
              "configs:\n"
              "  a.yaml: {a.yaml: {action: retain}}\n"
              "  Z.yaml: {Z.yaml: {action: retain}}\n"
              "  a.schema.yaml: {a.schema.yaml: {action: retain}}\n"
              "assets:\n"
              "  x.txt: {x.txt: {action: retain}}\n",
              {},
              {{"configs/a.yaml", "a: 1\n"}},
              report({step("assets", "x.txt", "x.txt", "retain", false),
                      step("configs", "Z.yaml", "Z.yaml", "retain", false),
                      step("configs", "a.schema.yaml", "a.schema.yaml", "retain", false),
                      step("configs", "a.yaml", "a.yaml", "retain", false),
                      step("pods", "a.yaml", "a.yaml", "retain", false),
                      step("pods", "a.yaml", "a_eks.yaml", "retain", false),
                      step("pods", "b.yaml", "b.yaml", "retain", false)}),
              {{"configs/a.yaml", "a: 1\n"}}});
}

TEST(UpgradeCommand, ASpecWithoutEntriesReportsNoSteps) {
  for (const std::string spec : {"schema: 1\n", "schema: 1\nassets:\nconfigs: {}\npods:\n"}) {
    expect_run({spec, spec, {}, {{"pods/p.yaml", "a: 1\n"}}, report({}), {{"pods/p.yaml", "a: 1\n"}}});
  }
}

// One edit operation run by a modify step on configs/app.yaml.
struct OperationCase {
  std::string name;
  std::string operation;
  std::string before;
  std::string after;
  bool changed;
};

// Runs one operation as the only change of a modify entry for configs/app.yaml.
void expect_operation(const OperationCase& c) {
  expect_run({c.name,
              "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml:\n      action: modify\n      changes:\n      - " +
                  c.operation + "\n",
              {},
              {{"configs/app.yaml", c.before}},
              report({step("configs", "app.yaml", "app.yaml", "modify", c.changed)}),
              {{"configs/app.yaml", c.after}}});
}

TEST(UpgradeCommand, EachEditOperationRewritesTheFile) {
  const OperationCase cases[] = {
      {"modify-leaf-value-if replaces an equal value",
       "{op: modify-leaf-value-if, leaf: spec.replicas, from: 1, to: 3}", "# c\nspec:\n  replicas: 1\n",
       "spec:\n  replicas: 3\n", true},
      {"modify-leaf-value-if does not take a quoted 1 for the number",
       "{op: modify-leaf-value-if, leaf: spec.replicas, from: 1, to: 3}", "spec:\n  replicas: '1'  # q\n",
       "spec:\n  replicas: '1'  # q\n", false},
      {"modify-text-if keeps its context and inserts the replacement literally",
       "{op: modify-text-if, pattern: old, replacement: n$w, before: 'image: ', after: ':'}",
       "# keep\nimage: old:1\nold: old\n", "# keep\nimage: n$w:1\nold: old\n", true},
      {"modify-text-if without a match", "{op: modify-text-if, pattern: absent, replacement: x}", "a:   1 # c\n",
       "a:   1 # c\n", false},
      {"insert-sibling-if-existing before its anchor",
       "{op: insert-sibling-if-existing, leaf: m.b, sibling: x, value: 9, placement: before}",
       "m:\n  a: 1\n  b: 2\n  c: 3\n", "m:\n  a: 1\n  x: 9\n  b: 2\n  c: 3\n", true},
      {"insert-sibling-if-existing everywhere",
       "{op: insert-sibling-if-existing, leaf: ignored.k, sibling: s, value: v, scope: everywhere}",
       "a:\n  k: 1\nlist:\n- k: 2\n- j: 3\n", "a:\n  k: 1\n  s: v\nlist:\n- k: 2\n  s: v\n- j: 3\n", true},
      {"insert-sibling-if-existing when the sibling is there",
       "{op: insert-sibling-if-existing, leaf: b, sibling: a}", "a: 1  # c\nb: 2\n", "a: 1  # c\nb: 2\n", false},
      {"insert-child-if-missing builds the path in an empty file",
       "{op: insert-child-if-missing, leaf: a.b, child: c, value: 1}", "", "a:\n  b:\n    c: 1\n", true},
      {"insert-child-if-missing when the child is there", "{op: insert-child-if-missing, leaf: a, child: c}",
       "a: {c: 1}\n", "a: {c: 1}\n", false},
      {"nest-children-if-flat", "{op: nest-children-if-flat, leaf: labels, under: z}",
       "labels:\n  x: 1\n  y: true\n", "labels:\n  z:\n    x: 1\n    'y': true\n", true},
      {"nest-children-if-flat on nested values", "{op: nest-children-if-flat, leaf: labels, under: z}",
       "labels: {x: {y: 1}}\n", "labels: {x: {y: 1}}\n", false},
      {"derive-item-if-missing", "{op: derive-item-if-missing, leaf: ports, pattern: '-(?<n>[0-9])', item: 'x${n}'}",
       "ports:\n- a-1\n- b-2\n", "ports:\n- a-1\n- x1\n- b-2\n- x2\n", true},
      {"derive-item-if-missing when the items exist",
       "{op: derive-item-if-missing, leaf: ports, pattern: '-(?<n>[0-9])', item: 'x${n}'}",
       "ports: [a-1, x1]\n", "ports: [a-1, x1]\n", false},
      {"derive-sibling-if-existing renders its value from the match",
       "{op: derive-sibling-if-existing, leaf: image, pattern: ':(?<tag>.+)$', sibling: tag, value: {v: 'v${tag}'}, "
       "placement: before}",
       "image: repo:1.2\n", "tag:\n  v: v1.2\nimage: repo:1.2\n", true},
      {"remove-leaf-if moves the last key into the removed key's place", "{op: remove-leaf-if, leaf: b}",
       "a: 1\nb: 2\nc: 3\nd: 4\n", "a: 1\nd: 4\nc: 3\n", true},
      {"remove-leaf-if in the sequence form", "[remove-leaf-if, a.b]", "a: {b: 1, c: 2}\n", "a:\n  c: 2\n", true},
      {"remove-leaf-if of an absent key", "{op: remove-leaf-if, leaf: x}", "a: 1 # c\n", "a: 1 # c\n", false},
  };
  for (const OperationCase& c : cases) expect_operation(c);
}

TEST(UpgradeCommand, ARewrittenFileKeepsItsTagsKindsAndStrings) {
  const OperationCase cases[] = {
      {"core tags stay core tags", "{op: remove-leaf-if, leaf: x}",
       "b: !!binary aGVsbG8=\ns: !!set {a, b}\nx: 1\n", "b: !!binary aGVsbG8=\ns: !!set\n  a: null\n  b: null\n", true},
      {"an explicit float stays a float", "{op: remove-leaf-if, leaf: x}", "a: !!float 1\nx: 1\n", "a: 1.0\n", true},
      {"an explicit float matches a float", "{op: modify-leaf-value-if, leaf: a, from: 1.0, to: 2}",
       "a: !!float 1\n", "a: 2\n", true},
      {"strings that YAML 1.1 readers take for other kinds stay strings for them",
       "{op: insert-child-if-missing, leaf: m, child: c, value: [on, n, 1_000, 0b101, '1:20', 2001-12-14, '<<', =]}",
       "m: {}\n",
       "m:\n  c:\n  - 'on'\n  - 'n'\n  - '1_000'\n  - '0b101'\n  - '1:20'\n  - '2001-12-14'\n  - '<<'\n  - '='\n",
       true},
  };
  for (const OperationCase& c : cases) expect_operation(c);
}

TEST(UpgradeCommand, OperationsOfOneStepRunInListOrder) {
  expect_run({"a later operation sees the text of the earlier ones",
              "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml:\n      action: modify\n      changes:\n"
              "      - {op: insert-child-if-missing, leaf: m, child: b, value: 2}\n"
              "      - {op: modify-leaf-value-if, leaf: m.b, from: 2, to: 3}\n"
              "      - {op: remove-leaf-if, leaf: absent}\n",
              {},
              {{"configs/app.yaml", "m: {a: 1}\n"}},
              report({step("configs", "app.yaml", "app.yaml", "modify", true)}),
              {{"configs/app.yaml", "m:\n  a: 1\n  b: 3\n"}}});
}

TEST(UpgradeCommand, RelativePathsAreTakenAsGivenFromTheWorkingFolder) {
  UpgradeTree tree;
  tree.spec("1.1", "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\n");
  tree.profile({{"configs/app.yaml", "a: 1\n"}, {"configs/web.yaml", "w: 1\n"}});
  auto upgrade = [&](const std::string& version) {
    return run_program({.arguments = {"upgrade", "--kupgrade", "kupgrade", "--kprofile", "./kprofile", "--version",
                                      version},
                        .working_folder = tree.kupgrade().parent_path()});
  };

  const Finished done = upgrade("1.1");
  EXPECT_EQ(done.out, report({step("configs", "app.yaml", "app.yaml", "delete", true)}) + "\n");
  EXPECT_EQ(done.err, "");
  EXPECT_EQ(done.code, 0);
  EXPECT_EQ(tree.profile_files(), (Files{{"configs/web.yaml", "w: 1\n"}}));

  const Finished failed = upgrade("9");
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(failed.err, upgrade_error_line(5342, "Could not read the upgrade spec of version '9' at "
                                                 "'kupgrade/upgrades/9.yaml': No such file or directory."));
  EXPECT_EQ(failed.code, 1);
}

}  // namespace
