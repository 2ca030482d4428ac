#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "result.h"

namespace platform {

// A change to the environment the process inherits: the variable set to the
// value, or removed when there is none.
struct EnvironmentChange {
  std::string name;
  std::optional<std::string> value;
};

struct ProcessOutput {
  int status;  // the exit code, or 128 + the signal number for a killed process
  std::string output;
  std::string error;
};

// Runs argv[0], found through PATH, with the arguments argv (no shell), in
// `working_folder` when given, else in the current one, with this process's
// environment changed by `environment`. Standard input is the open
// descriptor `input`, or /dev/null when it is negative; standard output and standard error are captured whole, and the
// call waits for the process to end. A process that cannot be started (a
// missing program or working folder included) is an error, whose text is the
// system's reason, e.g. "No such file or directory".
qv_common::Result<ProcessOutput, std::string> run_process(const std::vector<std::string>& argv,
                                                          const std::optional<std::filesystem::path>& working_folder,
                                                          const std::vector<EnvironmentChange>& environment = {},
                                                          int input = -1);

}  // namespace platform
