// Runs the built program as a child process and checks what it prints and how it ends.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kWorkers = "TOKIO_WORKER_THREADS";

// Owns one file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
  Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    std::swap(descriptor_, other.descriptor_);
    return *this;
  }
  ~Descriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  int get() const { return descriptor_; }
  void reset() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
  }

 private:
  int descriptor_;
};

struct Pipe {
  Descriptor read;
  Descriptor write;
};

Pipe make_pipe() {
  std::array<int, 2> ends{};
  EXPECT_EQ(::pipe2(ends.data(), O_CLOEXEC), 0);
  return {Descriptor(ends[0]), Descriptor(ends[1])};
}

struct Options {
  std::vector<std::string> arguments = {};
  // Unset when empty; set to the value otherwise.
  std::optional<std::string> workers = std::nullopt;
  bool close_stdin = false;
  bool close_stdout = false;
};

struct Finished {
  std::string out;
  std::string err;
  std::optional<int> code;
  std::optional<int> signal;
};

std::vector<std::string> environment_with(const std::optional<std::string>& workers) {
  std::vector<std::string> environment;
  const std::string prefix = std::string(kWorkers) + "=";
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!std::string_view(*entry).starts_with(prefix)) environment.emplace_back(*entry);
  }
  if (workers) environment.push_back(prefix + *workers);
  return environment;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Reads both pipes until the child closes them.
void drain(Pipe& out, Pipe& err, Finished& finished) {
  std::array<pollfd, 2> polled = {pollfd{out.read.get(), POLLIN, 0},
                                  pollfd{err.read.get(), POLLIN, 0}};
  std::array<std::string*, 2> sinks = {&finished.out, &finished.err};
  int open = 2;
  while (open > 0 && ::poll(polled.data(), polled.size(), -1) > 0) {
    for (std::size_t i = 0; i < polled.size(); ++i) {
      if (polled[i].revents == 0) continue;
      std::array<char, 4096> buffer{};
      const ssize_t got = ::read(polled[i].fd, buffer.data(), buffer.size());
      if (got > 0) {
        sinks[i]->append(buffer.data(), static_cast<std::size_t>(got));
      } else {
        polled[i].fd = -1;
        --open;
      }
    }
  }
}

Finished run_program(Options options) {
  Pipe out = make_pipe();
  Pipe err = make_pipe();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (options.close_stdin) posix_spawn_file_actions_addclose(&actions, STDIN_FILENO);
  if (options.close_stdout) {
    posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_adddup2(&actions, out.write.get(), STDOUT_FILENO);
  }
  posix_spawn_file_actions_adddup2(&actions, err.write.get(), STDERR_FILENO);

  std::vector<std::string> arguments = {QV_BINARY};
  arguments.insert(arguments.end(), options.arguments.begin(), options.arguments.end());
  std::vector<std::string> environment = environment_with(options.workers);
  pid_t child = 0;
  const int spawned = ::posix_spawn(&child, QV_BINARY, &actions, nullptr,
                                    pointers_to(arguments).data(), pointers_to(environment).data());
  posix_spawn_file_actions_destroy(&actions);
  EXPECT_EQ(spawned, 0) << std::strerror(spawned);
  out.write.reset();
  err.write.reset();

  Finished finished;
  drain(out, err, finished);
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, 0), child);
  if (WIFEXITED(status)) finished.code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) finished.signal = WTERMSIG(status);
  return finished;
}

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
  };
  for (const auto& c : cases) {
    const Finished finished = run_program({.arguments = {"--help"}, .workers = c.value});
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

TEST(Program, RunsWithAValidOrUnsetWorkerCount) {
  for (const std::optional<std::string>& workers :
       {std::optional<std::string>(), std::optional<std::string>("2")}) {
    const Finished finished = run_program({.arguments = {"--help"}, .workers = workers});
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
