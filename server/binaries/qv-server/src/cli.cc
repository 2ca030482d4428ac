#include "cli.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "absolute_path.h"
#include "platform/utf8.h"

namespace qv_server::cli {
namespace {

constexpr const char* kName = "qvk_kupgrader";
constexpr const char* kAbout = "Apply and verify upgraders offline, writing each outcome as JSON";
constexpr const char* kRepositoryHelp =
    "Repository root whose tags, patches and working kprofile give the templates";
constexpr const char* kKupgradeHelp = "Upgrade tree to use instead of the repository's own";
constexpr std::uint8_t kUsageError = 2;
constexpr std::array<std::string_view, 6> kValueOptions = {
    "--kupgrade", "--kprofile", "--version", "--repository", "--diverged", "--output"};
constexpr std::string_view kNoValueMessage = "a value is required but none was supplied";

// Stands for a value that is missing before another option. It holds a NUL,
// so no process argument can be equal to it.
const std::string& missing_value() {
  static const std::string marker("\0", 1);
  return marker;
}

// The option values, filled in by the parser.
struct Bindings {
  std::string kupgrade;
  std::string kprofile;
  std::string version;
  std::string repository;
  std::optional<std::string> repository_kupgrade;
  std::optional<std::string> diverged;
  bool record = false;
  std::string output;
};

struct Subcommands {
  CLI::App* upgrade;
  CLI::App* replay;
  CLI::App* digests;
  CLI::App* templates;
};

CLI::Validator non_empty() {
  return CLI::Validator(
      [](const std::string& value) {
        return value.empty() || value == missing_value() ? std::string(kNoValueMessage) : "";
      },
      "", "NON_EMPTY");
}

CLI::Validator valid_utf8() {
  return CLI::Validator(
      [](const std::string& value) {
        if (value == missing_value()) return std::string(kNoValueMessage);
        return platform::is_valid_utf8(value) ? std::string() : "invalid UTF-8 was detected in the value";
      },
      "", "UTF8");
}

bool is_value_option(std::string_view argument) {
  return std::find(kValueOptions.begin(), kValueOptions.end(), argument) != kValueOptions.end();
}

// CLI11 drops an empty value given after "=" and then takes the next argument
// as the value even when it is an option. Spell empty values out, and mark a
// value option directly followed by another option as lacking its value, so
// that the validators reject both.
std::vector<std::string> with_values_spelled_out(std::span<const std::string> arguments) {
  std::vector<std::string> spelled;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--") {
      spelled.insert(spelled.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i),
                     arguments.end());
      break;
    }
    if (argument.ends_with('=') &&
        is_value_option(std::string_view(argument).substr(0, argument.size() - 1))) {
      spelled.push_back(argument.substr(0, argument.size() - 1));
      spelled.emplace_back();
      continue;
    }
    spelled.push_back(argument);
    const bool option_follows = i + 1 < arguments.size() && arguments[i + 1].size() > 1 &&
                                arguments[i + 1].starts_with('-');
    if (is_value_option(argument) && option_follows) spelled.push_back(missing_value());
  }
  return spelled;
}

CLI::Option* add_path(CLI::App& command, const std::string& name, std::string& target,
                      const std::string& value_name, const std::string& help = "") {
  return command.add_option(name, target, help)->type_name(value_name)->check(non_empty());
}

CLI::Option* add_optional_path(CLI::App& command, const std::string& name,
                               std::optional<std::string>& target, const std::string& value_name,
                               const std::string& help) {
  return command
      .add_option_function<std::string>(
          name, [&target](const std::string& value) { target = value; }, help)
      ->type_name(value_name)
      ->check(non_empty());
}

void add_repository(CLI::App& command, Bindings& bindings) {
  add_path(command, "--repository", bindings.repository, "REPOSITORY", kRepositoryHelp)->required();
  add_optional_path(command, "--kupgrade", bindings.repository_kupgrade, "KUPGRADE", kKupgradeHelp);
}

// Every option takes its value once (CLI11's default policy rejects a repeat);
// the help flag is set before the subcommands are added, which copy it.
Subcommands define(CLI::App& app, Bindings& bindings) {
  app.set_help_flag("-h,--help", "Print help");
  app.require_subcommand(1);

  CLI::App* upgrade =
      app.add_subcommand("upgrade", "Apply the upgrader of a version to a kprofile folder");
  add_path(*upgrade, "--kupgrade", bindings.kupgrade, "KUPGRADE")->required();
  add_path(*upgrade, "--kprofile", bindings.kprofile, "KPROFILE")->required();
  upgrade->add_option("--version", bindings.version)
      ->type_name("VERSION")
      ->check(valid_utf8())
      ->required();

  CLI::App* replay = app.add_subcommand(
      "replay",
      "Upgrade every provider's oldest template to the newest version, hop by hop, comparing each "
      "hop with that version's template");
  add_repository(*replay, bindings);
  add_optional_path(*replay, "--diverged", bindings.diverged, "DIVERGED",
                    "Folder that keeps the upgraded outcome of each diverging hop");

  CLI::App* digests = app.add_subcommand(
      "digests",
      "Compare the released templates with their recorded digests, recording the ones still "
      "missing when asked to");
  add_repository(*digests, bindings);
  // add_flag keeps the last of repeated flags unless told to reject them.
  digests
      ->add_flag("--record", bindings.record,
                 "Record the digests of released templates that have none")
      ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
      ->disable_flag_override();

  CLI::App* templates =
      app.add_subcommand("templates", "Write the templates of every version to a folder");
  add_repository(*templates, bindings);
  add_path(*templates, "--output", bindings.output, "OUTPUT",
           "Folder that receives one templates folder per version and provider")
      ->required();

  return {upgrade, replay, digests, templates};
}

// The final path component of the invocation, when it is UTF-8.
std::string program_name(std::span<const std::string> arguments) {
  if (arguments.empty()) return kName;
  std::string last;
  for (const std::filesystem::path& part : std::filesystem::path(arguments.front())) {
    if (!part.empty() && part != "." && part != "/") last = part.native();
  }
  if (last.empty() || last == ".." || !platform::is_valid_utf8(last)) return kName;
  return last;
}

// The selected commands, the top level first.
std::vector<const CLI::App*> selected_chain(const CLI::App& app) {
  std::vector<const CLI::App*> chain = {&app};
  while (!chain.back()->get_subcommands().empty()) chain.push_back(chain.back()->get_subcommands().front());
  return chain;
}

// The innermost selected command and its name as shown in usage lines.
std::pair<const CLI::App*, std::string> selected(const CLI::App& app) {
  const std::vector<const CLI::App*> chain = selected_chain(app);
  std::string name = app.get_name();
  for (auto command = chain.begin() + 1; command != chain.end(); ++command) name += " " + (*command)->get_name();
  return {chain.back(), name};
}

// A flag of a selected command written with "=" and a value. CLI11 takes
// "--record=true" and "--record=" as the bare flag and "--help=x" as a help
// request, so the arguments are looked at themselves.
std::string flag_with_value(const CLI::App& app, std::span<const std::string> arguments) {
  const std::vector<const CLI::App*> chain = selected_chain(app);
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    const auto equals = argument.find('=');
    if (!argument.starts_with('-') || equals == std::string::npos) continue;
    const std::string name = argument.substr(0, equals);
    for (const CLI::App* command : chain) {
      const CLI::Option* option = command->get_option_no_throw(name);
      if (option != nullptr && option->get_items_expected_max() == 0) {
        return fmt::format("unexpected value '{}' for '{}' found", argument.substr(equals + 1), name);
      }
    }
  }
  return "";
}

// The first word of the command line before any "--": where the subcommand
// is expected, since the top level takes no value.
std::optional<std::string> subcommand_word(std::span<const std::string> arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (!argument.starts_with('-')) return argument;
  }
  return std::nullopt;
}

// The first argument that no selected command took, the top level's first.
std::string leftover_argument(const CLI::App& app, std::span<const std::string> arguments) {
  const std::vector<const CLI::App*> chain = selected_chain(app);
  const std::optional<std::string> word = subcommand_word(arguments);
  const bool word_selected = chain.size() > 1 && word == chain[1]->get_name();
  for (const CLI::App* command : chain) {
    for (const std::string& argument : command->remaining()) {
      if (argument == "--") continue;
      if (command == &app && argument == word && !word_selected) {
        return fmt::format("unrecognized subcommand '{}'", argument);
      }
      return fmt::format("unexpected argument '{}' found", argument);
    }
  }
  return "";
}

// The parser stops at the first missing option; name all of them instead.
std::string missing_required(const CLI::App& command) {
  std::vector<std::string> names;
  for (const CLI::Option* option : command.get_options()) {
    if (option->get_required() && option->count() == 0) names.push_back(option->get_name());
  }
  if (names.empty()) return "";
  return fmt::format("the following required arguments were not provided: {}",
                     fmt::join(names, ", "));
}

// What the user got wrong. CLI11 checks required options before it reports
// arguments it does not know, which would blame a missing option for a typo.
std::string fault_of(const CLI::App& app, const CLI::ParseError& error, std::span<const std::string> arguments) {
  if (std::string fault = flag_with_value(app, arguments); !fault.empty()) return fault;
  const auto [command, name] = selected(app);
  const bool required = dynamic_cast<const CLI::RequiredError*>(&error) != nullptr;
  if (required || command == &app || dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    if (std::string fault = leftover_argument(app, arguments); !fault.empty()) return fault;
  }
  if (command == &app) return "a subcommand is required but one was not provided";
  if (required) {
    if (std::string missing = missing_required(*command); !missing.empty()) return missing;
  }
  return error.what();
}

ParseExit usage_error(const CLI::App& app, const std::string& message) {
  const auto [command, name] = selected(app);
  return {kUsageError,
          fmt::format("error: {}\n\n{}\nFor more information, try '--help'.\n", message,
                      CLI::Formatter().make_usage(command, name)),
          Stream::standard_error};
}

// CLI11 pads the option column even when no help text follows.
std::string help_text(const CLI::App& app) {
  std::istringstream lines(app.help());
  std::string text;
  for (std::string line; std::getline(lines, line);) {
    line.erase(line.find_last_not_of(" \t") + 1);
    text += line + '\n';
  }
  return text;
}

Repository repository_of(const Bindings& bindings) {
  Repository repository{bindings.repository, std::nullopt};
  if (bindings.repository_kupgrade) repository.kupgrade = *bindings.repository_kupgrade;
  return repository;
}

CliCommand command_of(const Subcommands& subcommands, const Bindings& bindings) {
  if (subcommands.upgrade->parsed()) {
    return Upgrade{bindings.kupgrade, bindings.kprofile, bindings.version};
  }
  if (subcommands.replay->parsed()) {
    Replay replay{repository_of(bindings), std::nullopt};
    if (bindings.diverged) replay.diverged = *bindings.diverged;
    return replay;
  }
  if (subcommands.digests->parsed()) return Digests{repository_of(bindings), bindings.record};
  return Templates{repository_of(bindings), bindings.output};
}

std::filesystem::path absolute_or_given(const std::filesystem::path& path) {
  return absolute_path::absolute_lexical(path).value_or(path);
}

}  // namespace

runtime::instance::upgrade::replay::Sources Repository::sources() const {
  const std::filesystem::path root = absolute_or_given(repository);
  return {
      .root = root,
      .kupgrade = kupgrade ? absolute_or_given(*kupgrade) : root / "variant/resources/kupgrade",
      .kprofile = root / "variant/resources/kprofile",
      .config = root / "variant/config/kupgrade",
  };
}

qv_common::Result<CliCommand, ParseExit> parse(std::span<const std::string> arguments) {
  CLI::App app(kAbout, program_name(arguments));
  Bindings bindings;
  const Subcommands subcommands = define(app, bindings);
  if (arguments.size() <= 1) {
    return qv_common::fail(ParseExit{kUsageError, help_text(app), Stream::standard_error});
  }
  const std::span<const std::string> given = arguments.subspan(1);
  // CLI11 takes the arguments without the invocation name, last one first.
  std::vector<std::string> reversed = with_values_spelled_out(given);
  std::reverse(reversed.begin(), reversed.end());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    std::string fault = flag_with_value(app, given);
    if (!fault.empty()) return qv_common::fail(usage_error(app, fault));
    return qv_common::fail(ParseExit{0, help_text(app), Stream::standard_output});
  } catch (const CLI::ParseError& error) {
    return qv_common::fail(usage_error(app, fault_of(app, error, given)));
  }
  std::string fault = flag_with_value(app, given);
  if (!fault.empty()) return qv_common::fail(usage_error(app, fault));
  return command_of(subcommands, bindings);
}

}  // namespace qv_server::cli
