#pragma once

// One schema_host process as a deployment runs it, its output kept in files,
// for the end-to-end tests of the schema component.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace schema_host_test {

using namespace std::chrono_literals;

struct Finished {
  int status;  // the exit code, or 128 + the signal
  std::string out;
  std::string err;
};

class Host {
 public:
  Host(const std::vector<std::string>& arguments, const std::string& password) {
    static int count = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("schema_host_test." + std::to_string(getpid()) + "." + std::to_string(count++));
    std::filesystem::create_directories(folder_);
    std::vector<std::string> argv = {SCHEMA_HOST};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> args;
    for (std::string& argument : argv) args.push_back(argument.data());
    args.push_back(nullptr);
    std::vector<std::string> environment = {"QV_OWNER_PASSWORD=" + password};
    for (char** variable = environ; *variable != nullptr; ++variable) {
      if (!std::string_view(*variable).starts_with("QV_OWNER_PASSWORD=")) environment.emplace_back(*variable);
    }
    std::vector<char*> env;
    for (std::string& variable : environment) env.push_back(variable.data());
    env.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (folder_ / "out").c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (folder_ / "err").c_str(), O_WRONLY | O_CREAT, 0600);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), env.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  Host(const Host&) = delete;
  ~Host() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    std::filesystem::remove_all(folder_);
  }

  void kill_now() { kill(pid_, SIGKILL); }

  // Waits for the end, or gives up after `limit` (status -1, the process killed).
  Finished wait(std::chrono::seconds limit = 60s) {
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return {-1, "", "still running after the limit"};
      std::this_thread::sleep_for(10ms);
    }
    pid_ = -1;
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return {code, read("out"), read("err")};
  }

 private:
  std::string read(const char* name) const {
    std::ifstream file(folder_ / name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::filesystem::path folder_;
  pid_t pid_ = -1;
};

}  // namespace schema_host_test
