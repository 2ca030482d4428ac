#include "body.h"

#include <unistd.h>

#include <exception>
#include <new>
#include <variant>

#include "output.h"
#include "runtime/instance/upgrade/offline/offline.h"
#include "runtime/instance/upgrade/replay/digests_run.h"
#include "runtime/instance/upgrade/replay/materialize.h"
#include "runtime/instance/upgrade/replay/replay.h"

namespace qv_server::body {
namespace {

constexpr std::uint8_t kSuccess = 0;
constexpr std::uint8_t kFailure = 1;

using core::system::exit::CommandError;
using Text = qv_common::Result<std::string, std::string>;
namespace upgrade = ::runtime::instance::upgrade;

// A failed engine call ends the subcommand with the command error's debug
// rendering as its message.
template <typename T>
qv_common::Result<T, std::string> engine(qv_common::Result<T, CommandError> result) {
  if (!result) return qv_common::fail(result.error().debug());
  return std::move(*result);
}

Text run_upgrade(const cli::Upgrade& command) {
  QV_ASSIGN_OR_RETURN(const auto report,
                      engine(upgrade::offline::upgrade_kprofile(command.kupgrade, command.kprofile, command.version)));
  return output::upgrade_report(report);
}

Text run_replay(const cli::Replay& command) {
  const upgrade::replay::Sources sources = command.repository.sources();
  QV_ASSIGN_OR_RETURN(const auto scratch, engine(upgrade::replay::materialize_scratch(sources)));
  QV_ASSIGN_OR_RETURN(const auto mismatches,
                      engine(upgrade::replay::replay_all(sources, scratch.templates, command.diverged)));
  return output::replay_report(mismatches);
}

Text run_digests(const cli::Digests& command) {
  const upgrade::replay::Sources sources = command.repository.sources();
  QV_ASSIGN_OR_RETURN(const auto scratch, engine(upgrade::replay::materialize_scratch(sources)));
  QV_ASSIGN_OR_RETURN(const auto outcome,
                      engine(upgrade::replay::check_digests(sources, scratch.templates, command.record)));
  return output::digests_report(outcome.recorded, outcome.mismatches);
}

Text run_templates(const cli::Templates& command) {
  const upgrade::replay::Sources sources = command.repository.sources();
  QV_ASSIGN_OR_RETURN(const auto templates, engine(upgrade::replay::materialize(sources, command.output)));
  return output::templates_report(templates.root);
}

struct Dispatch {
  Text operator()(const cli::Upgrade& c) const { return run_upgrade(c); }
  Text operator()(const cli::Replay& c) const { return run_replay(c); }
  Text operator()(const cli::Digests& c) const { return run_digests(c); }
  Text operator()(const cli::Templates& c) const { return run_templates(c); }
};

int descriptor_of(cli::Stream stream) {
  return stream == cli::Stream::standard_output ? STDOUT_FILENO : STDERR_FILENO;
}

// Everything the command does. An exception leaves it with the command's
// records and guards already dropped, so that the scratch folder is gone
// before the caller prints the failure.
std::uint8_t parse_run_and_print(std::span<const std::string> arguments) {
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

}  // namespace

qv_common::Result<std::string, std::string> run(cli::CliCommand command) {
  return std::visit(Dispatch{}, command);
}

std::uint8_t execute(std::span<const std::string> arguments) {
  try {
    return parse_run_and_print(arguments);
  } catch (const std::bad_alloc&) {
    output::print_out_of_memory();
  } catch (const std::exception& error) {
    output::print_unexpected(error.what());
  } catch (...) {
    output::print_unexpected("an exception of an unknown type");
  }
  return kFailure;
}

}  // namespace qv_server::body
