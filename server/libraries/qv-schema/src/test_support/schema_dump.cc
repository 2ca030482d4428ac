#include "test_support/schema_dump.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "test_support/installed_schema.h"

extern char** environ;

namespace schema::test_support {
namespace {

constexpr const char* kPgDump = "/usr/lib/postgresql/15/bin/pg_dump";

struct Finished {
  int status;
  std::string output;  // standard output and standard error, interleaved
};

// Runs `argv` without a shell, standard input from /dev/null, and reads what
// it writes until it ends.
qv_common::Result<Finished, std::string> run(const std::vector<std::string>& argv) {
  std::array<int, 2> pipe_ends{};
  if (pipe(pipe_ends.data()) != 0) return tl::unexpected(std::string("pipe: ") + std::strerror(errno));
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
  std::vector<char*> arguments;
  for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, arguments[0], &actions, nullptr, arguments.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  if (spawned != 0) {
    close(pipe_ends[0]);
    return tl::unexpected(argv[0] + ": " + std::strerror(spawned));
  }
  Finished finished{0, ""};
  std::array<char, 65536> buffer;
  for (ssize_t n; (n = read(pipe_ends[0], buffer.data(), buffer.size())) != 0;) {
    if (n > 0) finished.output.append(buffer.data(), static_cast<std::size_t>(n));
    else if (errno != EINTR) break;
  }
  close(pipe_ends[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return finished;
}

bool is_session_setting(std::string_view line) {
  return line.starts_with("SET ") || line.starts_with("SELECT pg_catalog.set_config('search_path'");
}

bool is_dropped(std::string_view line) {
  return line.starts_with("--") || is_session_setting(line) || line.starts_with("\\restrict ") ||
         line.starts_with("\\unrestrict ");
}

}  // namespace

qv_common::Result<std::string, std::string> dump_home_schema(const std::string& conninfo) {
  const auto finished = run({kPgDump, "--schema-only", "--no-owner", std::string("--schema=") + kHomeSchema,
                             "--dbname=" + conninfo});
  if (!finished) return tl::unexpected(finished.error());
  if (finished->status != 0) {
    return tl::unexpected("pg_dump ended with status " + std::to_string(finished->status) + ":\n" + finished->output);
  }
  return normalise_dump(finished->output);
}

std::string normalise_dump(std::string_view dump) {
  std::string normalised;
  bool blank_pending = false;
  while (!dump.empty()) {
    const std::size_t end = dump.find('\n');
    const std::string_view line = dump.substr(0, end);
    dump.remove_prefix(end == std::string_view::npos ? dump.size() : end + 1);
    if (is_dropped(line)) continue;
    if (line.empty()) {
      blank_pending = !normalised.empty();
      continue;
    }
    if (blank_pending) normalised += '\n';
    blank_pending = false;
    normalised.append(line).append("\n");
  }
  return normalised;
}

}  // namespace schema::test_support
