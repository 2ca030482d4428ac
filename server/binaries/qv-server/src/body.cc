#include "body.h"

#include <unistd.h>

#include <variant>

#include "output.h"

namespace qv_server::body {
namespace {

constexpr std::uint8_t kSuccess = 0;
constexpr std::uint8_t kFailure = 1;

qv_common::Result<std::string, std::string> run_upgrade(const cli::Upgrade&) {
  return qv_common::fail(std::string("the upgrade command is not available in this build"));
}

qv_common::Result<std::string, std::string> run_replay(const cli::Replay&) {
  return qv_common::fail(std::string("the replay command is not available in this build"));
}

qv_common::Result<std::string, std::string> run_digests(const cli::Digests&) {
  return qv_common::fail(std::string("the digests command is not available in this build"));
}

qv_common::Result<std::string, std::string> run_templates(const cli::Templates&) {
  return qv_common::fail(std::string("the templates command is not available in this build"));
}

struct Dispatch {
  qv_common::Result<std::string, std::string> operator()(const cli::Upgrade& c) const {
    return run_upgrade(c);
  }
  qv_common::Result<std::string, std::string> operator()(const cli::Replay& c) const {
    return run_replay(c);
  }
  qv_common::Result<std::string, std::string> operator()(const cli::Digests& c) const {
    return run_digests(c);
  }
  qv_common::Result<std::string, std::string> operator()(const cli::Templates& c) const {
    return run_templates(c);
  }
};

int descriptor_of(cli::Stream stream) {
  return stream == cli::Stream::standard_output ? STDOUT_FILENO : STDERR_FILENO;
}

}  // namespace

qv_common::Result<std::string, std::string> run(cli::CliCommand command) {
  return std::visit(Dispatch{}, command);
}

std::uint8_t execute(std::span<const std::string> arguments) {
  auto command = cli::parse(arguments);
  if (!command) {
    const cli::ParseExit& exit = command.error();
    output::write_all(descriptor_of(exit.stream), exit.text);
    return exit.code;
  }
  auto report = run(*std::move(command));
  if (!report) {
    output::print_error(report.error());
    return kFailure;
  }
  // A report that cannot be written did not reach its reader: that run failed.
  return output::print_report(*report) ? kSuccess : kFailure;
}

}  // namespace qv_server::body
