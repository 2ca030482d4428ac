#include "platform/git.h"

namespace platform {

qv_common::Result<ProcessOutput, std::string> run_git(const std::vector<std::string>& arguments,
                                                      const std::optional<std::filesystem::path>& working_folder,
                                                      std::vector<EnvironmentChange> environment, int input) {
  for (std::string_view name : kGitRepositoryVariables) environment.push_back({std::string(name), std::nullopt});
  std::vector<std::string> argv = {"git"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return run_process(argv, working_folder, environment, input);
}

}  // namespace platform
