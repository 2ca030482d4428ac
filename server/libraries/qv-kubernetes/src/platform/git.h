#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/subprocess.h"
#include "result.h"

namespace platform {

// The environment variables with which git picks a repository other than the
// one its working folder and arguments name, or changes what it reads there
// (those that `git rev-parse --local-env-vars` lists).
inline constexpr std::array<std::string_view, 16> kGitRepositoryVariables = {
    "GIT_ALTERNATE_OBJECT_DIRECTORIES",
    "GIT_CONFIG",
    "GIT_CONFIG_PARAMETERS",
    "GIT_CONFIG_COUNT",
    "GIT_OBJECT_DIRECTORY",
    "GIT_DIR",
    "GIT_WORK_TREE",
    "GIT_IMPLICIT_WORK_TREE",
    "GIT_GRAFT_FILE",
    "GIT_INDEX_FILE",
    "GIT_NO_REPLACE_OBJECTS",
    "GIT_REPLACE_REF_BASE",
    "GIT_PREFIX",
    "GIT_INTERNAL_SUPER_PREFIX",
    "GIT_SHALLOW_FILE",
    "GIT_COMMON_DIR",
};

// Runs git, found through PATH, as `run_process` does, with `arguments` after
// the program name, `environment` applied and standard input from `input`
// when it is an open descriptor, and without the variables
// above: the arguments and the working folder alone decide the repository.
qv_common::Result<ProcessOutput, std::string> run_git(const std::vector<std::string>& arguments,
                                                      const std::optional<std::filesystem::path>& working_folder,
                                                      std::vector<EnvironmentChange> environment = {},
                                                      int input = -1);

}  // namespace platform
