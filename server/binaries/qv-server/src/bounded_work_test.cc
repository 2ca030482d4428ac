// Runs `upgrade` and `replay` of the built program with specs and files of a
// few kilobytes (or a large file and a spec of a few hundred bytes) that
// would make the run grow its file, expand its documents, search or parse
// without end, and checks that each ends soon with the one error line that
// names the limit it reached.
#include <gtest/gtest.h>

#include <string>

#include "test_support/error_line.h"
#include "test_support/git_repository.h"
#include "test_support/program.h"
#include "test_support/upgrade_tree.h"

namespace {

using test_support::Files;
using test_support::Finished;
using test_support::GitRepository;
using test_support::run_program;
using test_support::upgrade_error_line;
using test_support::UpgradeTree;

// A run that keeps going instead of failing is ended after this many
// seconds: far more than any of these runs takes, also under sanitizers, so
// that only a run without bound reaches it.
constexpr std::string_view kPatience = "300";

// A spec whose configs/app.yaml entry modifies with `changes`, one
// operation a line.
std::string modify_with(const std::string& changes) {
  return "schema: 1\nconfigs:\n  app.yaml:\n    app.yaml:\n      action: modify\n      changes:\n" + changes;
}

std::string repeated(int times, std::string_view text, std::string_view separator = "") {
  std::string out;
  for (int i = 0; i < times; ++i) out += std::string(i ? separator : "") + std::string(text);
  return out;
}

// An 11 MB mapping of short scalars whose first key is a.
std::string large_mapping() {
  std::string text = "a: 1\n";
  for (int i = 0; text.size() < 11'000'000; ++i) {
    text += "key" + std::to_string(i) + ": value number " + std::to_string(i) + "\n";
  }
  return text;
}

TEST(BoundedWork, AmplifyingSpecsEndWithTheLimitTheyReach) {
  const std::string eighteen_a_lines = repeated(900, std::string(18, 'a') + "\n");
  const std::string work_limit =
      "work limit exceeded: the edit operations of one command took more than 2147483648 units of work.";
  const std::string many_groups = repeated(2000, "()") + "(?:a|b)*c";
  const std::string megabyte(1'000'000, 'x');
  const struct {
    std::string name;
    std::string spec;
    std::string file;
    int code;
    std::string message;
  } cases[] = {
      {"each operation doubles the file",
       modify_with(repeated(24, "      - {op: modify-text-if, pattern: '', replacement: x}\n")), "a: 1\n", 5350,
       "Could not render 'configs/app.yaml' while upgrading to '1.1': size limit exceeded: the text would be "
       "longer than 16777216 bytes."},
      {"an anchored scalar repeated in a key nobody reads",
       "schema: 1\nunread:\n  big: &big " + megabyte + "\n  uses: [" + repeated(4000, "*big", ", ") + "]\n",
       "a: 1\n", 5340,
       "Could not parse the upgrade spec of version '1.1': repetition limit exceeded: aliases expand to more "
       "than 16777216 bytes at line 4 column 106."},
      {"an anchored scalar repeated in the modified file",
       modify_with("      - {op: remove-leaf-if, leaf: a}\n"),
       "a: 1\nbig: &big " + megabyte + "\nuses: [" + repeated(4000, "*big", ", ") + "]\n", 5349,
       "Could not parse 'configs/app.yaml' while upgrading to '1.1': repetition limit exceeded: aliases expand "
       "to more than 16777216 bytes at line 3 column 104."},
      {"one search for each match",
       modify_with("      - {op: modify-text-if, pattern: '(?:(?:a|a)*c)?', replacement: x}\n"), eighteen_a_lines,
       5352,
       "The pattern '(?:(?:a|a)*c)?' for 'configs/app.yaml' in the upgrade to '1.1' is invalid: match limit "
       "exceeded: the searches of one operation took more than 100000000 steps."},
      {"many groups copied in every backtracking frame",
       modify_with("      - {op: modify-text-if, pattern: '" + many_groups + "', replacement: x}\n"),
       std::string(10'000, 'a') + "xc", 5352,
       "The pattern '" + many_groups +
           "' for 'configs/app.yaml' in the upgrade to '1.1' is invalid: heap limit exceeded."},
      {"one backtracking operation repeated through aliases",
       modify_with("      - &o {op: modify-text-if, pattern: '(?:a|a)*c', replacement: c}\n" +
                   repeated(399, "      - *o\n")),
       repeated(8, std::string(18, 'a') + "\n") + "c\n", 5352,
       "The pattern '(?:a|a)*c' for 'configs/app.yaml' in the upgrade to '1.1' is invalid: " + work_limit},
      {"a text and a YAML operation repeated in turn, each parsing a large file anew",
       modify_with("      - &t {op: modify-text-if, pattern: 'a: 1', replacement: 'a: 1'}\n"
                   "      - &y {op: remove-leaf-if, leaf: nothere}\n" +
                   repeated(99, "      - *t\n      - *y\n")),
       large_mapping(), 5349, "Could not parse 'configs/app.yaml' while upgrading to '1.1': " + work_limit},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UpgradeTree tree;
    tree.spec("1.1", c.spec);
    tree.profile({{"configs/app.yaml", c.file}});
    const Finished finished = run_program(
        {.arguments = {"upgrade", "--kupgrade", tree.kupgrade().string(), "--kprofile", tree.kprofile().string(),
                       "--version", "1.1"},
         .launcher = {"/usr/bin/timeout", std::string(kPatience)}});
    EXPECT_EQ(finished.out, "");
    EXPECT_EQ(finished.err, upgrade_error_line(c.code, c.message));
    EXPECT_EQ(finished.code, 1);
    // Compared whole but not printed: a file that grew would fill the log.
    EXPECT_TRUE(tree.profile_files() == (Files{{"configs/app.yaml", c.file}})) << "the kprofile file changed";
  }
}

// Each provider's hop alone stays within the work budget of the command;
// the four together do not, since every hop of every provider draws on it.
TEST(BoundedWork, TheHopsOfEveryProviderShareOneBudget) {
  GitRepository repo;
  repo.write_kprofile("assets", "logo.txt", "logo\n");
  repo.write_kprofile("configs", "app.yaml", large_mapping());
  for (const std::string provider : {"kminus", "eks", "aks", "gke"}) {
    repo.write_kprofile("pods", "web_" + provider + ".yaml", "kind: Pod\n");
  }
  repo.release("1.0.0");
  repo.write_inventory("schema: 1\nversions:\n  - {version: 1.1.0, upgrader: true}\n"
                       "  - {version: 1.0.0, upgrader: false}\n");
  repo.write_spec("1.1.0", modify_with("      - &t {op: modify-text-if, pattern: 'a: 1', replacement: 'a: 1'}\n"
                                       "      - &y {op: remove-leaf-if, leaf: nothere}\n" +
                                       repeated(3, "      - *t\n      - *y\n")));
  const Finished finished = run_program({.arguments = {"replay", "--repository", repo.root().string()},
                                         .launcher = {"/usr/bin/timeout", std::string(kPatience)}});
  EXPECT_EQ(finished.out, "");
  EXPECT_EQ(finished.err, upgrade_error_line(5349,
                                             "Could not parse 'configs/app.yaml' while upgrading to '1.1.0': work "
                                             "limit exceeded: the edit operations of one command took more than "
                                             "2147483648 units of work."));
  EXPECT_EQ(finished.code, 1);
}

}  // namespace
