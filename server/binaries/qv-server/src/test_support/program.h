#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// One environment variable for the child: set to the value, or unset when none.
using Variable = std::pair<std::string, std::optional<std::string>>;

struct ProgramOptions {
  std::vector<std::string> arguments = {};
  // Applied over the parent's environment after the defaults of `run_program`.
  std::vector<Variable> environment = {};
  // The child's working folder; the parent's when none.
  std::optional<std::filesystem::path> working_folder = std::nullopt;
  bool close_stdin = false;
  bool close_stdout = false;
  // A program, by its full path, and its arguments that run the built
  // program in turn, given after them with its own arguments.
  std::vector<std::string> launcher = {};
};

struct Finished {
  std::string out;
  std::string err;
  std::optional<int> code;
  std::optional<int> signal;
};

// Runs the built program with `options.arguments`, waits for it and returns
// what it wrote and how it ended. The backtrace variables QV_LIB_BACKTRACE
// and QV_BACKTRACE and the worker count TOKIO_WORKER_THREADS are unset
// unless `options.environment` sets them, so the parent's settings never leak in.
Finished run_program(const ProgramOptions& options);

}  // namespace test_support
