// Runs `upgrade` of the built program on upgrade trees and kprofile folders
// that make it fail and checks the one JSON error line, the exit code and
// what the failure leaves in the kprofile folder.
#include <gtest/gtest.h>

#include <string>

#include "test_support/error_line.h"
#include "test_support/upgrade_tree.h"

namespace {

using test_support::Files;
using test_support::Finished;
using test_support::run_program;
using test_support::upgrade_error_line;
using test_support::UpgradeTree;

const std::string kNotUtf8 = "a: \xFF\xFE\n";

// One failing upgrade of version 1.1. `message` names the upgrade tree as
// <k> and the kprofile folder as <p>.
struct ErrorCase {
  std::string name;
  Files upgrade;
  Files before;
  int code;
  std::string message;
  // The kprofile folder after the run; `before` when empty.
  Files after = {};
};

void expect_failure(const ErrorCase& c) {
  SCOPED_TRACE(c.name);
  UpgradeTree tree;
  tree.upgrade_files(c.upgrade);
  tree.profile(c.before);
  const Finished finished = tree.upgrade("1.1");
  EXPECT_EQ(finished.out, "");
  EXPECT_EQ(finished.err, upgrade_error_line(c.code, tree.expand(c.message)));
  EXPECT_EQ(finished.code, 1);
  EXPECT_EQ(tree.profile_files(), c.after.empty() ? c.before : c.after);
}

// A spec with one configs entry app.yaml/app.yaml whose action is `action`.
std::string configs_entry(const std::string& action) {
  return "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: " + action + "\n";
}

// A spec whose configs/app.yaml entry modifies with one operation.
std::string modify_with(const std::string& operation) {
  return configs_entry("{action: modify, changes: [" + operation + "]}");
}

TEST(UpgradeErrors, LoadingTheSpecFailsBeforeAnyFileIsTouched) {
  const Files profile = {{"configs/app.yaml", "a: 1\n"}};
  const ErrorCase cases[] = {
      {"no spec file", {}, profile, 5342,
       "Could not read the upgrade spec of version '1.1' at '<k>/upgrades/1.1.yaml': No such file or directory."},
      {"a spec that is not UTF-8", {{"upgrades/1.1.yaml", "schema: 1\n# \xC3\x28\n"}}, profile, 5342,
       "Could not read the upgrade spec of version '1.1' at '<k>/upgrades/1.1.yaml': stream did not contain valid "
       "UTF-8."},
      {"a folder at the spec path", {{"upgrades/1.1.yaml/x", ""}}, profile, 5342,
       "Could not read the upgrade spec of version '1.1' at '<k>/upgrades/1.1.yaml': Is a directory."},
      {"an empty spec", {{"upgrades/1.1.yaml", ""}}, profile, 5340,
       "Could not parse the upgrade spec of version '1.1': EOF while parsing a value."},
      {"two documents", {{"upgrades/1.1.yaml", "schema: 1\n---\nschema: 1\n"}}, profile, 5340,
       "Could not parse the upgrade spec of version '1.1': deserializing from YAML containing more than one document "
       "is not supported."},
      {"a YAML syntax error", {{"upgrades/1.1.yaml", "schema: [1\n"}}, profile, 5340,
       "Could not parse the upgrade spec of version '1.1': did not find expected ',' or ']' at line 2 column 1, while "
       "parsing a flow sequence at line 1 column 9."},
      {"no schema", {{"upgrades/1.1.yaml", "configs: {}\n"}}, profile, 5340,
       "Could not parse the upgrade spec of version '1.1': missing field `schema` at line 1 column 1."},
      {"an action name with a capital letter", {{"upgrades/1.1.yaml", configs_entry("{action: Retain}")}}, profile,
       5340,
       "Could not parse the upgrade spec of version '1.1': unknown variant `Retain`, expected one of `retain`, "
       "`create`, `replace`, `delete`, `merge`, `modify` at line 4 column 24."},
      {"a retain entry with changes", {{"upgrades/1.1.yaml", configs_entry("{action: retain, changes: []}")}},
       profile, 5340,
       "Could not parse the upgrade spec of version '1.1': unknown field `changes`, there are no fields at line 4 "
       "column 32."},
      {"a resolved section holding pods", {{"upgrades/1.1.yaml", "schema: 1\nresolved:\n  pods: {}\n"}}, profile,
       5340, "Could not parse the upgrade spec of version '1.1': unknown field `pods`, expected `configs` at line 3 "
             "column 3."},
      {"the third operation of a list is bad",
       {{"upgrades/1.1.yaml",
         "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml:\n      action: modify\n      changes:\n"
         "      - {op: remove-leaf-if, leaf: a}\n      - {op: remove-leaf-if, leaf: b}\n"
         "      - {op: remove-leaf-if, leaf: c, value: 1}\n"}},
       profile, 5340,
       "Could not parse the upgrade spec of version '1.1': unknown field `value`, expected `leaf` at line 9 column "
       "39."},
      {"a variant named twice, rejected by the second reading",
       {{"upgrades/1.1.yaml",
         "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: retain}\n    app.yaml: {action: delete}\n"}},
       profile, 5340,
       "Could not parse the upgrade spec of version '1.1': duplicate entry with key \"app.yaml\" at line 5 column "
       "5."},
      {"a family given as an explicit null", {{"upgrades/1.1.yaml", "schema: 1\nconfigs: ~\n"}}, profile, 5340,
       "Could not parse the upgrade spec of version '1.1': invalid type: unit value, expected a map at line 2 "
       "column 10."},
      {"a schema tagged as a float", {{"upgrades/1.1.yaml", "schema: !!float 1\n"}}, profile, 5340,
       "Could not parse the upgrade spec of version '1.1': invalid type: floating point `1.0`, expected u32 at line "
       "1 column 9."},
      {"a leaf written as a hexadecimal number",
       {{"upgrades/1.1.yaml", modify_with("{op: remove-leaf-if, leaf: 0x1F}")}}, profile, 5340,
       "Could not parse the upgrade spec of version '1.1': invalid type: integer `31`, expected a string at line 4 "
       "column 69."},
      {"schema 2, before any entry is checked",
       {{"upgrades/1.1.yaml", "schema: 2\nconfigs:\n  web.yaml:\n    app_eks.yaml: {action: create}\n"}}, profile,
       5341, "The upgrade spec of version '1.1' declares schema 2; this quorvale supports 1."},
      {"changes under an entry that the typed reading replaced by a retain",
       {{"upgrades/1.1.yaml",
         "schema: 1\nconfigs:\n  '123':\n    '123': {action: modify, changes: []}\n    123: {action: retain}\n"}},
       profile, 5346,
       "The upgrade spec of version '1.1' declares changes for 'configs/123/123', whose action is not 'modify'."},
      {"a resolved create, before its missing content is looked for",
       {{"upgrades/1.1.yaml", "schema: 1\nresolved:\n  configs:\n    app.yaml:\n      app.yaml: {action: create}\n"}},
       profile, 5363,
       "The upgrade to '1.1' gives 'resolved/configs/app.yaml/app.yaml' the action 'create', but a resolved entry "
       "edits the file an instance holds, so it can only be 'modify' or 'retain'."},
      {"a variant filed under another group",
       {{"upgrades/1.1.yaml", "schema: 1\nconfigs:\n  web.yaml:\n    app_eks.yaml: {action: retain}\n"}}, profile,
       5353, "The upgrade to '1.1' groups the variant 'app_eks.yaml' under 'configs/web.yaml', but it belongs to "
             "'app.yaml'."},
      {"a resolved variant filed under another group",
       {{"upgrades/1.1.yaml",
         "schema: 1\nresolved:\n  configs:\n    web.yaml:\n      app_eks.yaml: {action: retain}\n"}},
       profile, 5353,
       "The upgrade to '1.1' groups the variant 'app_eks.yaml' under 'resolved/configs/web.yaml', but it belongs to "
       "'app.yaml'."},
      {"a create without its content",
       {{"upgrades/1.1.yaml", "schema: 1\npods:\n  worker.yaml:\n    worker.yaml: {action: create}\n"}}, profile,
       5343,
       "The upgrade spec of version '1.1' writes 'pods/worker.yaml/worker.yaml', but no content was found at "
       "'<k>/upgrades/1.1/pods/worker.yaml'."},
      {"a merge without its content, a folder standing in its place",
       {{"upgrades/1.1.yaml", "schema: 1\npods:\n  worker.yaml:\n    worker.yaml: {action: merge}\n"},
        {"upgrades/1.1/pods/worker.yaml/x", ""}},
       profile, 5343,
       "The upgrade spec of version '1.1' writes 'pods/worker.yaml/worker.yaml', but no content was found at "
       "'<k>/upgrades/1.1/pods/worker.yaml'."},
      {"a content file that no entry claims",
       {{"upgrades/1.1.yaml", "schema: 1\n"}, {"upgrades/1.1/configs/notes.txt", "n"}}, profile, 5344,
       "The upgrade content '<k>/upgrades/1.1/configs/notes.txt' of version '1.1' is not claimed by any 'create' or "
       "'replace' variant of its spec."},
      {"a content file of a delete entry",
       {{"upgrades/1.1.yaml", configs_entry("{action: delete}")}, {"upgrades/1.1/configs/app.yaml", "a: 2\n"}},
       profile, 5344,
       "The upgrade content '<k>/upgrades/1.1/configs/app.yaml' of version '1.1' is not claimed by any 'create' or "
       "'replace' variant of its spec."},
  };
  for (const ErrorCase& c : cases) expect_failure(c);
}

TEST(UpgradeErrors, AFailingStepEndsTheUpgradeAndLeavesTheEarlierStepsApplied) {
  const ErrorCase cases[] = {
      {"content that is not UTF-8",
       {{"upgrades/1.1.yaml", configs_entry("{action: replace}")}, {"upgrades/1.1/configs/app.yaml", kNotUtf8}},
       {{"configs/app.yaml", "a: 1\n"}}, 5345,
       "Could not read the upgrade content of version '1.1' at '<k>/upgrades/1.1/configs/app.yaml': stream did not "
       "contain valid UTF-8."},
      {"a modify after a delete of the same file",
       {{"upgrades/1.1.yaml",
         "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml: {action: delete}\n    app_eks.yaml: {action: modify, "
         "changes: []}\n"}},
       {{"configs/app_eks.yaml", "a: 1\n"}, {"pods/p.yaml", "p: 1\n"}}, 5348,
       "The upgrade to '1.1' modifies 'configs/app.yaml', but its configmap '<p>/configs/app_eks.yaml' does not "
       "exist.",
       {{"pods/p.yaml", "p: 1\n"}}},
      {"a file that is not YAML", {{"upgrades/1.1.yaml", modify_with("{op: remove-leaf-if, leaf: a}")}},
       {{"configs/app.yaml", "a: [1\n"}}, 5349,
       "Could not parse 'configs/app.yaml' while upgrading to '1.1': did not find expected ',' or ']' at line 2 "
       "column 1, while parsing a flow sequence at line 1 column 4."},
      {"an invalid pattern after an operation that changed the text",
       {{"upgrades/1.1.yaml",
         modify_with("{op: remove-leaf-if, leaf: a}, {op: modify-text-if, pattern: '(', replacement: x, before: b}")}},
       {{"configs/app.yaml", "a: 1\nb: 2\n"}}, 5352,
       "The pattern '(?<before>b)(' for 'configs/app.yaml' in the upgrade to '1.1' is invalid: missing closing "
       "parenthesis at offset 13."},
      {"an invalid pattern is found before the file is parsed",
       {{"upgrades/1.1.yaml", modify_with("{op: derive-item-if-missing, leaf: a, pattern: '[', item: x}")}},
       {{"configs/app.yaml", "a: [1\n"}}, 5352,
       "The pattern '[' for 'configs/app.yaml' in the upgrade to '1.1' is invalid: missing terminating ] for "
       "character class at offset 1."},
      {"a pattern that backtracks without end",
       {{"upgrades/1.1.yaml", modify_with("{op: modify-text-if, pattern: '^(a+)+$', replacement: x}")}},
       {{"configs/app.yaml", std::string(64, 'a') + "b"}}, 5352,
       "The pattern '^(a+)+$' for 'configs/app.yaml' in the upgrade to '1.1' is invalid: match limit exceeded."},
      {"a merge", {{"upgrades/1.1.yaml", configs_entry("{action: merge}")}, {"upgrades/1.1/configs/app.yaml", "m"}},
       {{"configs/app.yaml", "a: 1\n"}}, 5354,
       "The upgrade to '1.1' asks to merge 'configs/app.yaml', but the merge action is not implemented yet."},
      {"a kprofile file that is not UTF-8", {{"upgrades/1.1.yaml", modify_with("{op: remove-leaf-if, leaf: a}")}},
       {{"configs/app.yaml", kNotUtf8}}, 5356,
       "Could not read the kprofile file at '<p>/configs/app.yaml': stream did not contain valid UTF-8."},
      {"a folder where a modified file should be",
       {{"upgrades/1.1.yaml", modify_with("{op: remove-leaf-if, leaf: a}")}}, {{"configs/app.yaml/x", "x"}}, 5356,
       "Could not read the kprofile file at '<p>/configs/app.yaml': Is a directory."},
      {"a folder where a deleted file should be", {{"upgrades/1.1.yaml", configs_entry("{action: delete}")}},
       {{"configs/app.yaml/x", "x"}}, 5357,
       "Could not write the upgraded file at '<p>/configs/app.yaml': Is a directory."},
      {"a folder where a created file should be",
       {{"upgrades/1.1.yaml", configs_entry("{action: create}")}, {"upgrades/1.1/configs/app.yaml", "new"}},
       {{"configs/app.yaml/x", "x"}}, 5357,
       "Could not write the upgraded file at '<p>/configs/app.yaml': Is a directory."},
      {"a file where the family folder should be",
       {{"upgrades/1.1.yaml", configs_entry("{action: create}")}, {"upgrades/1.1/configs/app.yaml", "new"}},
       {{"configs", "not a folder"}}, 5357, "Could not write the upgraded file at '<p>/configs': Not a directory."},
  };
  for (const ErrorCase& c : cases) expect_failure(c);
}

TEST(UpgradeErrors, AMergeAfterEarlierStepsKeepsTheirChanges) {
  expect_failure({"merge last",
                  {{"upgrades/1.1.yaml",
                    "schema: 1\n"
                    "pods:\n  m.yaml:\n    m.yaml: {action: merge}\n"
                    "configs:\n  a.yaml:\n    a.yaml: {action: create}\n"
                    "  b.yaml:\n    b.yaml: {action: modify, changes: [{op: remove-leaf-if, leaf: x}]}\n"
                    "assets:\n  old.txt:\n    old.txt: {action: delete}\n"},
                   {"upgrades/1.1/configs/a.yaml", "a: new\n"},
                   {"upgrades/1.1/pods/m.yaml", "m: 1\n"}},
                  {{"assets/old.txt", "old"}, {"configs/b.yaml", "x: 1\ny: 2\n"}, {"pods/m.yaml", "m: 0\n"}},
                  5354,
                  "The upgrade to '1.1' asks to merge 'pods/m.yaml', but the merge action is not implemented yet.",
                  {{"configs/a.yaml", "a: new\n"}, {"configs/b.yaml", "'y': 2\n"}, {"pods/m.yaml", "m: 0\n"}}});
}

std::string prefix(std::string_view code) {
  return "{\"error\":\"CommandError { status: GeneralError, source: Some(QvError { domain: \\\"UpgradeError\\\", "
         "code: \\\"UpgradeError::" +
         std::string(code) + "\\\", api_error: InternalError, qv_error: ";
}

constexpr std::string_view kSuffix = " }) }\"}\n";

TEST(UpgradeErrors, QuotesBackslashesAndControlCharactersStayInsideOneJsonLine) {
  UpgradeTree tree;
  tree.profile({});
  tree.spec("1\n2\t3\x01", "schema: 2\n");
  EXPECT_EQ(tree.upgrade("1\n2\t3\x01").err,
            prefix("5341") + "The upgrade spec of version '1\\n2\\t3\\u0001' declares schema 2; this quorvale "
                             "supports 1." + std::string(kSuffix));

  EXPECT_EQ(tree.upgrade("a\"b\\c").err,
            prefix("5342") + "Could not read the upgrade spec of version 'a\\\"b\\\\c' at '" +
                tree.kupgrade().string() + "/upgrades/a\\\"b\\\\c.yaml': No such file or directory." +
                std::string(kSuffix));

  tree.spec("2", "schema: 1\nconfigs:\n  a.yaml:\n    a.yaml: {action: retain}\n    a.yaml: {action: delete}\n");
  EXPECT_EQ(tree.upgrade("2").err,
            prefix("5340") + "Could not parse the upgrade spec of version '2': duplicate entry with key \\\"a.yaml\\\" "
                             "at line 5 column 5." + std::string(kSuffix));
}

TEST(UpgradeErrors, ABackslashInAPathIsEscaped) {
  UpgradeTree tree;
  const std::string kupgrade = tree.kupgrade().string() + "\\tree";
  const Finished finished = run_program(
      {.arguments = {"upgrade", "--kupgrade", kupgrade, "--kprofile", tree.kprofile().string(), "--version", "1"}});
  EXPECT_EQ(finished.err, prefix("5342") + "Could not read the upgrade spec of version '1' at '" +
                              tree.kupgrade().string() + "\\\\tree/upgrades/1.yaml': No such file or directory." +
                              std::string(kSuffix));
  EXPECT_EQ(finished.code, 1);
}

TEST(UpgradeErrors, ACapturedBacktraceStaysInsideTheErrorLine) {
  const struct {
    std::vector<test_support::Variable> environment;
    bool captured;
  } cases[] = {
      {{}, false},
      {{{"QV_BACKTRACE", "1"}}, true},
      {{{"QV_BACKTRACE", "0"}}, false},
      {{{"QV_LIB_BACKTRACE", "0"}, {"QV_BACKTRACE", "1"}}, false},
      {{{"QV_LIB_BACKTRACE", "1"}, {"QV_BACKTRACE", "0"}}, true},
  };
  const std::string message = "Could not read the upgrade spec of version '1' at 'absent/upgrades/1.yaml': No such "
                              "file or directory.";
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.environment));
    const Finished finished = run_program(
        {.arguments = {"upgrade", "--kupgrade", "absent", "--kprofile", "absent", "--version", "1"},
         .environment = c.environment});
    EXPECT_EQ(finished.code, 1);
    EXPECT_EQ(finished.err.find('\n'), finished.err.size() - 1);
    if (c.captured) {
      EXPECT_TRUE(finished.err.starts_with(prefix("5342") + message + "\\n\\nStack backtrace:\\n"));
      EXPECT_TRUE(finished.err.ends_with(kSuffix));
    } else {
      EXPECT_EQ(finished.err, prefix("5342") + message + std::string(kSuffix));
    }
  }
}

TEST(UpgradeErrors, UsageErrorsOfUpgradePrintNoJson) {
  const std::string usage = "\n\nUsage: qvk_kupgrader upgrade [OPTIONS]\n\nFor more information, try '--help'.\n";
  const struct {
    std::vector<std::string> arguments;
    std::string error;
  } cases[] = {
      {{"upgrade", "--kupgrade", "k", "--kprofile", "p", "--version"}, "error: --version: 1 required VERSION missing"},
      {{"upgrade", "--kupgrade", "k", "--kprofile", "p"},
       "error: the following required arguments were not provided: --version"},
      {{"upgrade", "--kupgrade", "k", "--kprofile", "p", "--version", "1", "--version", "2"},
       "error: --version: At Most 1 required but received 2"},
      {{"upgrade", "--kupgrade", "", "--kprofile", "p", "--version", "1"},
       "error: --kupgrade: a value is required but none was supplied"},
      {{"upgrade", "--kupgrade", "k", "--kprofile", "p", "--version", "\xFF"},
       "error: --version: invalid UTF-8 was detected in the value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const Finished finished = run_program({.arguments = c.arguments});
    EXPECT_EQ(finished.out, "");
    EXPECT_EQ(finished.err, c.error + usage);
    EXPECT_EQ(finished.code, 2);
  }
}

}  // namespace
