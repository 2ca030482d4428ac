#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "cli.h"
#include "result.h"

namespace qv_server::body {

// Runs one subcommand: the report's JSON text on success, the failure message otherwise.
qv_common::Result<std::string, std::string> run(cli::CliCommand command);

// The whole command: parses `arguments` (the process arguments, invocation
// name first), runs the subcommand and prints its one line. Returns the exit
// code: 0 after a printed report or a requested help, 1 after an error, 2
// after a usage error. Running out of memory, or any other exception, is an
// error too, once the command's guards have removed its scratch folder and
// temporary files.
std::uint8_t execute(std::span<const std::string> arguments);

}  // namespace qv_server::body
