#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "result.h"
#include "runtime/instance/upgrade/replay/sources.h"

namespace qv_server::cli {

// The options shared by the subcommands that work on a repository.
struct Repository {
  std::filesystem::path repository;
  // Replaces the repository's own upgrade tree when given.
  std::optional<std::filesystem::path> kupgrade;

  // The repository's paths, made absolute against the current folder; a path
  // that cannot be made absolute is used as given.
  runtime::instance::upgrade::replay::Sources sources() const;
};

struct Upgrade {
  std::filesystem::path kupgrade;
  std::filesystem::path kprofile;
  std::string version;
};

struct Replay {
  Repository repository;
  std::optional<std::filesystem::path> diverged;
};

struct Digests {
  Repository repository;
  bool record = false;
};

struct Templates {
  Repository repository;
  std::filesystem::path output;
};

using CliCommand = std::variant<Upgrade, Replay, Digests, Templates>;

enum class Stream { standard_output, standard_error };

// How the process ends when parsing does not yield a command: a requested
// help (code 0, standard output) or a usage error (code 2, standard error).
struct ParseExit {
  std::uint8_t code = 0;
  std::string text;
  Stream stream = Stream::standard_error;
};

// Parses the process arguments; `arguments[0]` is the invocation name, whose
// final component names the program in usage lines.
qv_common::Result<CliCommand, ParseExit> parse(std::span<const std::string> arguments);

}  // namespace qv_server::cli
