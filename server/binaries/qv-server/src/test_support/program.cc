#include "test_support/program.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <string_view>

#include "platform/unique_fd.h"

extern char** environ;

namespace test_support {
namespace {

using platform::UniqueFd;

struct Pipe {
  UniqueFd read;
  UniqueFd write;
};

Pipe make_pipe() {
  std::array<int, 2> ends{};
  EXPECT_EQ(::pipe2(ends.data(), O_CLOEXEC), 0);
  return {UniqueFd(ends[0]), UniqueFd(ends[1])};
}

// Owns a set of spawn file actions.
class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// The name of an environment entry "NAME=value".
std::string_view name_of(std::string_view entry) { return entry.substr(0, entry.find('=')); }

std::vector<std::string> environment_with(const std::vector<Variable>& overrides) {
  std::map<std::string, std::optional<std::string>, std::less<>> variables = {
      {"QV_LIB_BACKTRACE", std::nullopt}, {"QV_BACKTRACE", std::nullopt}, {"TOKIO_WORKER_THREADS", std::nullopt}};
  for (const auto& [name, value] : overrides) variables.insert_or_assign(name, value);
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!variables.contains(name_of(*entry))) environment.emplace_back(*entry);
  }
  for (const auto& [name, value] : variables) {
    if (value) environment.push_back(name + "=" + *value);
  }
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
  std::array<pollfd, 2> polled = {pollfd{out.read.get(), POLLIN, 0}, pollfd{err.read.get(), POLLIN, 0}};
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

}  // namespace

Finished run_program(const ProgramOptions& options) {
  Pipe out = make_pipe();
  Pipe err = make_pipe();
  FileActions actions;
  if (options.close_stdin) posix_spawn_file_actions_addclose(actions.get(), STDIN_FILENO);
  if (options.close_stdout) {
    posix_spawn_file_actions_addclose(actions.get(), STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_adddup2(actions.get(), out.write.get(), STDOUT_FILENO);
  }
  posix_spawn_file_actions_adddup2(actions.get(), err.write.get(), STDERR_FILENO);
  if (options.working_folder) posix_spawn_file_actions_addchdir_np(actions.get(), options.working_folder->c_str());

  std::vector<std::string> arguments = options.launcher;
  arguments.push_back(QV_BINARY);
  arguments.insert(arguments.end(), options.arguments.begin(), options.arguments.end());
  std::vector<std::string> environment = environment_with(options.environment);
  pid_t child = 0;
  const int spawned = ::posix_spawn(&child, arguments.front().c_str(), actions.get(), nullptr,
                                    pointers_to(arguments).data(), pointers_to(environment).data());
  EXPECT_EQ(spawned, 0) << std::strerror(spawned);
  out.write.reset();
  err.write.reset();

  Finished finished;
  if (spawned != 0) return finished;
  drain(out, err, finished);
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, 0), child);
  if (WIFEXITED(status)) finished.code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) finished.signal = WTERMSIG(status);
  return finished;
}

}  // namespace test_support
