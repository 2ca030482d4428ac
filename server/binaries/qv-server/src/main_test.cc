// Runs the built program as a child process and checks what it prints and how it ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "test_support/program.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using test_support::Finished;
using test_support::run_program;

TEST(Program, HelpAndUsageErrorsEndWithTheParsersCodes) {
  const struct {
    std::vector<std::string> arguments;
    int code;
    bool on_stdout;
  } cases[] = {
      {{"--help"}, 0, true},
      {{"templates", "-h"}, 0, true},
      {{}, 2, false},
      {{"help"}, 2, false},
      {{"--version"}, 2, false},
      {{"upgrade", "--version", "1.0"}, 2, false},
      {{"digests", "--repository", ""}, 2, false},
      {{"upgrade", "--bogus"}, 2, false},
      {{"digests", "--repository", "r", "--record=true"}, 2, false},
      {{"--help=x"}, 2, false},
  };
  for (const auto& c : cases) {
    const Finished finished = run_program({.arguments = c.arguments});
    const std::string line = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(finished.code, c.code) << line;
    EXPECT_EQ(finished.out.empty(), !c.on_stdout) << line;
    EXPECT_EQ(finished.err.empty(), c.on_stdout) << line;
    EXPECT_THAT(finished.out + finished.err, HasSubstr("Usage: qvk_kupgrader")) << line;
  }
}

TEST(Program, AFailingCommandPrintsOneJsonErrorLine) {
  const Finished finished = run_program(
      {.arguments = {"upgrade", "--kupgrade", "a", "--kprofile", "b", "--version", "1"}});
  EXPECT_EQ(finished.code, 1);
  EXPECT_EQ(finished.out, "");
  EXPECT_THAT(finished.err, StartsWith("{\"error\":\"CommandError { status: GeneralError, source: Some(QvError { "
                                       "domain: \\\"UpgradeError\\\", code: \\\"UpgradeError::5342\\\""));
  EXPECT_EQ(finished.err.find('\n'), finished.err.size() - 1);
}

TEST(Program, AnInvalidWorkerCountAbortsBeforeTheParse) {
  const struct {
    std::string value;
    std::string fault;
  } cases[] = {
      {"0", "TOKIO_WORKER_THREADS cannot be set to 0"},
      {"-1", "TOKIO_WORKER_THREADS must be a positive integer, got \"-1\""},
      {"abc", "TOKIO_WORKER_THREADS must be a positive integer, got \"abc\""},
      {"18446744073709551615", "OS can't spawn worker thread: Resource temporarily unavailable"},
  };
  for (const auto& c : cases) {
    const Finished finished = run_program({.arguments = {"--help"}, .environment = {{"TOKIO_WORKER_THREADS", c.value}}});
    EXPECT_EQ(finished.signal, SIGABRT) << c.value;
    EXPECT_FALSE(finished.code) << c.value;
    EXPECT_EQ(finished.out, "") << c.value;
    EXPECT_THAT(finished.err,
                HasSubstr("thread 'main' panicked at server/binaries/qv-server/src/runtime.cc:"));
    EXPECT_THAT(finished.err, HasSubstr(c.fault));
    EXPECT_THAT(finished.err, HasSubstr("note: run with `QV_BACKTRACE=1`"));
    EXPECT_THAT(finished.err, ::testing::Not(HasSubstr("{")));
  }
}

TEST(Program, WorkerThreadsThatCannotBeSpawnedAbort) {
  if (::geteuid() != 0) GTEST_SKIP() << "runs the program as another user, which needs root";
  // The thread limit of an unprivileged user leaves room for the main thread
  // and one worker.
  const Finished finished = run_program({.arguments = {"--help"},
                                         .environment = {{"TOKIO_WORKER_THREADS", "4"}},
                                         .launcher = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534",
                                                      "--clear-groups", "/usr/bin/prlimit", "--nproc=2", "--"}});
  EXPECT_EQ(finished.signal, SIGABRT);
  EXPECT_EQ(finished.out, "");
  EXPECT_THAT(finished.err, HasSubstr("thread 'main' panicked at server/binaries/qv-server/src/runtime.cc:"));
  EXPECT_THAT(finished.err, HasSubstr("\nOS can't spawn worker thread: Resource temporarily unavailable\n"));
}

TEST(Program, TheAbortPrintsABacktraceWhenTheVariableAsksForOne) {
  const struct {
    std::vector<test_support::Variable> environment;
    bool backtrace;
  } cases[] = {
      {{}, false},
      {{{"QV_BACKTRACE", "0"}}, false},
      {{{"QV_LIB_BACKTRACE", "1"}}, false},
      {{{"QV_BACKTRACE", "1"}}, true},
      {{{"QV_BACKTRACE", "full"}, {"QV_LIB_BACKTRACE", "0"}}, true},
  };
  for (const auto& c : cases) {
    std::vector<test_support::Variable> environment = c.environment;
    environment.emplace_back("TOKIO_WORKER_THREADS", "0");
    const Finished finished = run_program({.arguments = {"--help"}, .environment = environment});
    const std::string line = ::testing::PrintToString(c.environment);
    EXPECT_EQ(finished.signal, SIGABRT) << line;
    EXPECT_THAT(finished.err, HasSubstr("TOKIO_WORKER_THREADS cannot be set to 0\n")) << line;
    if (c.backtrace) {
      EXPECT_THAT(finished.err, HasSubstr("cannot be set to 0\nstack backtrace:\n   0: ")) << line;
      EXPECT_THAT(finished.err, ::testing::Not(HasSubstr("note:"))) << line;
    } else {
      EXPECT_THAT(finished.err, ::testing::EndsWith("cannot be set to 0\nnote: run with `QV_BACKTRACE=1` environment "
                                                    "variable to display a backtrace\n"))
          << line;
    }
  }
}

TEST(Program, RunsWithAValidOrUnsetWorkerCount) {
  for (const std::optional<std::string>& workers :
       {std::optional<std::string>(), std::optional<std::string>("2")}) {
    const Finished finished = run_program({.arguments = {"--help"}, .environment = {{"TOKIO_WORKER_THREADS", workers}}});
    EXPECT_EQ(finished.code, 0);
    EXPECT_THAT(finished.out, StartsWith("Apply and verify upgraders offline"));
  }
}

TEST(Program, RunsWithClosedStandardDescriptors) {
  const Finished no_stdin = run_program({.arguments = {"--help"}, .close_stdin = true});
  EXPECT_EQ(no_stdin.code, 0);
  EXPECT_THAT(no_stdin.out, HasSubstr("Usage: qvk_kupgrader"));

  const Finished no_stdout = run_program({.arguments = {"--help"}, .close_stdout = true});
  EXPECT_EQ(no_stdout.code, 0);
  EXPECT_EQ(no_stdout.err, "");

  const Finished neither =
      run_program({.arguments = {"templates", "--repository", "r", "--output", "o"},
                   .close_stdin = true,
                   .close_stdout = true});
  EXPECT_EQ(neither.code, 1);
  EXPECT_THAT(neither.err, HasSubstr("UpgradeError::5321"));
}

}  // namespace
