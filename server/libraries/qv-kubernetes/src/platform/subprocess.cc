#include "platform/subprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/unique_fd.h"

extern char** environ;

namespace platform {
namespace {

std::string reason(int error) { return std::generic_category().message(error); }

struct Pipe {
  UniqueFd read;
  UniqueFd write;
};

qv_common::Result<Pipe, std::string> make_pipe() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return qv_common::fail(reason(errno));
  return Pipe{UniqueFd(fds[0]), UniqueFd(fds[1])};
}

// Owns the file actions of one spawn.
class FileActions {
 public:
  FileActions() { ::posix_spawn_file_actions_init(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  ~FileActions() { ::posix_spawn_file_actions_destroy(&actions_); }

  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// Child's side: optional working folder, stdin from `input` or /dev/null,
// stdout and stderr onto the pipes' write ends.
qv_common::Result<void, std::string> prepare(FileActions& actions, const Pipe& out, const Pipe& err,
                                             const std::optional<std::filesystem::path>& working_folder, int input) {
  if (working_folder) {
    if (int rc = ::posix_spawn_file_actions_addchdir_np(actions.get(), working_folder->c_str())) {
      return qv_common::fail(reason(rc));
    }
  }
  if (input >= 0) {
    if (int rc = ::posix_spawn_file_actions_adddup2(actions.get(), input, STDIN_FILENO)) {
      return qv_common::fail(reason(rc));
    }
  } else if (int rc = ::posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0)) {
    return qv_common::fail(reason(rc));
  }
  if (int rc = ::posix_spawn_file_actions_adddup2(actions.get(), out.write.get(), STDOUT_FILENO)) {
    return qv_common::fail(reason(rc));
  }
  if (int rc = ::posix_spawn_file_actions_adddup2(actions.get(), err.write.get(), STDERR_FILENO)) {
    return qv_common::fail(reason(rc));
  }
  return {};
}

// This process's environment entries "NAME=value" without the changed
// names, followed by the changed names that are set.
std::vector<std::string> changed_environment(const std::vector<EnvironmentChange>& changes) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    const std::string_view name = text.substr(0, text.find('='));
    const bool changed = std::any_of(changes.begin(), changes.end(),
                                     [&](const EnvironmentChange& change) { return change.name == name; });
    if (!changed) entries.emplace_back(text);
  }
  for (const EnvironmentChange& change : changes) {
    if (change.value) entries.push_back(change.name + "=" + *change.value);
  }
  return entries;
}

std::vector<char*> pointers_to(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (const auto& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

qv_common::Result<pid_t, std::string> spawn(const std::vector<std::string>& argv, FileActions& actions,
                                            const std::vector<EnvironmentChange>& environment) {
  if (argv.empty()) return qv_common::fail(reason(EINVAL));
  std::vector<char*> args = pointers_to(argv);
  const std::vector<std::string> entries = changed_environment(environment);
  std::vector<char*> variables = pointers_to(entries);
  pid_t pid = 0;
  if (int rc = ::posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), variables.data())) {
    return qv_common::fail(reason(rc));
  }
  return pid;
}

// Reads both streams to their ends, whichever has data, so that a child
// filling one pipe never blocks while the other is being read.
qv_common::Result<void, std::string> drain(UniqueFd out, UniqueFd err, ProcessOutput& result) {
  std::array<pollfd, 2> fds = {pollfd{out.get(), POLLIN, 0}, pollfd{err.get(), POLLIN, 0}};
  std::array<std::string*, 2> sinks = {&result.output, &result.error};
  std::array<char, 65536> buffer;
  while (fds[0].fd >= 0 || fds[1].fd >= 0) {
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      return qv_common::fail(reason(errno));
    }
    for (size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t count = ::read(fds[i].fd, buffer.data(), buffer.size());
      if (count > 0) {
        sinks[i]->append(buffer.data(), static_cast<size_t>(count));
      } else if (count == 0) {
        fds[i].fd = -1;  // end of stream; poll skips negative descriptors
      } else if (errno != EINTR && errno != EAGAIN) {
        return qv_common::fail(reason(errno));
      }
    }
  }
  return {};
}

// A started child until it is waited for. An exception that leaves the run
// (memory running out while its output is read) kills and reaps it, so that
// nothing it still writes lands in a folder the unwinding removes.
class StartedChild {
 public:
  explicit StartedChild(pid_t pid) : pid_(pid) {}
  StartedChild(const StartedChild&) = delete;
  StartedChild& operator=(const StartedChild&) = delete;
  ~StartedChild() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
  }

  // The child, to be waited for by the caller.
  pid_t release() { return std::exchange(pid_, -1); }

 private:
  pid_t pid_;
};

qv_common::Result<int, std::string> wait_for(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return qv_common::fail(reason(errno));
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace

qv_common::Result<ProcessOutput, std::string> run_process(const std::vector<std::string>& argv,
                                                          const std::optional<std::filesystem::path>& working_folder,
                                                          const std::vector<EnvironmentChange>& environment,
                                                          int input) {
  QV_ASSIGN_OR_RETURN(Pipe out, make_pipe());
  QV_ASSIGN_OR_RETURN(Pipe err, make_pipe());
  FileActions actions;
  QV_RETURN_IF_ERROR(prepare(actions, out, err, working_folder, input));
  QV_ASSIGN_OR_RETURN(const pid_t pid, spawn(argv, actions, environment));
  StartedChild child(pid);
  // Only the child may hold the write ends, or the reads never see the end.
  out.write.reset();
  err.write.reset();

  ProcessOutput result{0, {}, {}};
  // The read ends are closed before waiting, so a child still writing after
  // a failed read ends instead of blocking the wait.
  auto drained = drain(std::move(out.read), std::move(err.read), result);
  QV_ASSIGN_OR_RETURN(result.status, wait_for(child.release()));
  QV_RETURN_IF_ERROR(std::move(drained));
  return result;
}

}  // namespace platform
