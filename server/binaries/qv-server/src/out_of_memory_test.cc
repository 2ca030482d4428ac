// Runs the built program on a 200 MB file under address-space limits around
// what the run needs, as a CI job with a memory cap would, and checks that
// every run ends with its report or with one error line, never by a signal,
// and leaves nothing in the temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support/folder_files.h"
#include "test_support/git_repository.h"
#include "test_support/program.h"
#include "test_support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::EndsWith;
using ::testing::StartsWith;
using test_support::files_below;
using test_support::Finished;
using test_support::GitRepository;
using test_support::run_program;
using test_support::TempFolder;

// The address-space limits tried, in MiB: from too little to read the file
// to enough for the whole run.
constexpr int kLimits[] = {300, 350, 400, 450, 500, 550, 600, 650};

// A YAML mapping of two million entries, 200 MB.
std::string large_file() {
  std::string text = "big:\n";
  const std::string value(90, 'v');
  text.reserve(205'000'000);
  for (int i = 0; i < 2'000'000; ++i) text += "  k" + std::to_string(i) + ": " + value + "\n";
  return text;
}

// An address-space sanitizer reserves far more address space than any of
// these limits.
bool built_with_address_sanitizer() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  return false;
#endif
}

// Runs the program with `arguments` under an address-space limit of
// `mebibytes`, with `temporary` as its temporary folder.
Finished run_limited(std::vector<std::string> arguments, int mebibytes, const fs::path& temporary) {
  return run_program({.arguments = std::move(arguments),
                      .environment = {{"TMPDIR", temporary.string()}},
                      .launcher = {"/usr/bin/prlimit", "--as=" + std::to_string(mebibytes * 1024 * 1024), "--"}});
}

// A report on standard output, or one error line on standard error.
void expect_report_or_error_line(const Finished& finished) {
  EXPECT_EQ(finished.signal, std::nullopt);
  ASSERT_TRUE(finished.code == 0 || finished.code == 1) << finished.err;
  if (finished.code == 0) {
    EXPECT_THAT(finished.out, StartsWith("{"));
    EXPECT_EQ(finished.err, "");
    return;
  }
  EXPECT_EQ(finished.out, "");
  EXPECT_THAT(finished.err, StartsWith("{\"error\":\""));
  EXPECT_THAT(finished.err, EndsWith("\"}\n"));
  EXPECT_EQ(finished.err.find('\n'), finished.err.size() - 1) << finished.err;
}

TEST(OutOfMemory, ALargeFileAtATagEndsInAReportOrAnErrorLine) {
  if (built_with_address_sanitizer()) GTEST_SKIP() << "the address sanitizer cannot run under an address-space limit";
  GitRepository repo;
  repo.write_kprofile("configs", "app.yaml", "name: one\n");
  repo.write_kprofile("configs", "app_eks.yaml", "name: one-eks\n");
  repo.write_kprofile("configs", "big.yaml", large_file());
  repo.release("1.0.0");
  repo.remove("variant/resources/kprofile/configs/big.yaml");
  repo.write_kprofile("configs", "app_eks.yaml", "name: two-eks\n");
  repo.write_inventory(
      "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n");
  repo.commit();
  for (const int limit : kLimits) {
    SCOPED_TRACE(limit);
    const TempFolder temporary;
    expect_report_or_error_line(run_limited({"replay", "--repository", repo.root().string()}, limit, temporary.path()));
    EXPECT_TRUE(fs::is_empty(temporary.path()));
  }
}

TEST(OutOfMemory, ALargeKprofileFileEndsInAReportOrAnErrorLine) {
  if (built_with_address_sanitizer()) GTEST_SKIP() << "the address sanitizer cannot run under an address-space limit";
  const TempFolder tree;
  tree.write("kupgrade/upgrades/1.1.yaml",
             "schema: 1\nconfigs:\n  big.yaml:\n    big.yaml:\n      action: modify\n      changes:\n"
             "      - {op: remove-leaf-if, leaf: big.k0}\n");
  const std::string file = large_file();
  tree.write("kprofile/configs/big.yaml", file);
  for (const int limit : kLimits) {
    SCOPED_TRACE(limit);
    const TempFolder temporary;
    expect_report_or_error_line(run_limited({"upgrade", "--kupgrade", (tree.path() / "kupgrade").string(),
                                             "--kprofile", (tree.path() / "kprofile").string(), "--version", "1.1"},
                                            limit, temporary.path()));
    EXPECT_TRUE(fs::is_empty(temporary.path()));
    // The file is refused whole, as the limit of a result is far below its size.
    EXPECT_TRUE(files_below(tree.path() / "kprofile") == (test_support::Files{{"configs/big.yaml", file}}))
        << "the kprofile file changed";
  }
}

}  // namespace
