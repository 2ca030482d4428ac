#include "cli.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qv_server::cli {
namespace {

using ::testing::HasSubstr;

qv_common::Result<CliCommand, ParseExit> parse_line(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "/usr/local/bin/qvk_kupgrader");
  return parse(arguments);
}

TEST(Parse, EndsWithTheParsersCodeStreamAndText) {
  struct Case {
    std::vector<std::string> arguments;
    std::uint8_t code;
    Stream stream;
    std::string text;
  };
  const Case cases[] = {
      {{}, 2, Stream::standard_error, "Usage: qvk_kupgrader [OPTIONS] SUBCOMMAND"},
      {{"--help"}, 0, Stream::standard_output, "Apply and verify upgraders offline"},
      {{"-h"}, 0, Stream::standard_output, "Write the templates of every version to a folder"},
      {{"replay", "--help"}, 0, Stream::standard_output, "Usage: qvk_kupgrader replay [OPTIONS]"},
      {{"upgrade", "-h"}, 0, Stream::standard_output, "--kprofile KPROFILE"},
      {{"help"}, 2, Stream::standard_error, "unrecognized subcommand 'help'"},
      {{"--version"}, 2, Stream::standard_error, "unexpected argument '--version'"},
      {{"-V"}, 2, Stream::standard_error, "unexpected argument '-V'"},
      {{"frobnicate"}, 2, Stream::standard_error, "unrecognized subcommand 'frobnicate'"},
      {{"upgrade"}, 2, Stream::standard_error, "not provided: --kupgrade, --kprofile, --version"},
      {{"upgrade", "--version", "1.0"},
       2,
       Stream::standard_error,
       "not provided: --kupgrade, --kprofile"},
      {{"upgrade", "--kupgrade", "a", "--kupgrade", "b", "--kprofile", "p", "--version", "1"},
       2,
       Stream::standard_error,
       "--kupgrade"},
      {{"upgrade", "--kupgrade=", "--kprofile", "p", "--version", "1"},
       2,
       Stream::standard_error,
       "--kupgrade"},
      {{"upgrade", "--kupgrade", "", "--kprofile", "p", "--version", "1"},
       2,
       Stream::standard_error,
       "--kupgrade"},
      {{"upgrade", "--kupgrade", "a", "--kprofile", "p", "--version", "\xFF"},
       2,
       Stream::standard_error,
       "--version"},
      {{"upgrade", "--kupgrade"}, 2, Stream::standard_error, "--kupgrade"},
      {{"upgrade", "--kupgrade", "--kprofile", "p", "--version", "1"},
       2,
       Stream::standard_error,
       "--kupgrade: a value is required but none was supplied"},
      {{"upgrade", "--kupgrade", "a", "--kprofile", "p", "--version", "-1"},
       2,
       Stream::standard_error,
       "--version: a value is required but none was supplied"},
      {{"replay", "--repository=", "foo"},
       2,
       Stream::standard_error,
       "--repository: a value is required but none was supplied"},
      {{"upgrade", "-k", "a"}, 2, Stream::standard_error, "-k"},
      {{"replay", "--repository", "r", "--unknown"}, 2, Stream::standard_error, "--unknown"},
      {{"replay", "--repository", "r", "--diverged", ""}, 2, Stream::standard_error, "--diverged"},
      {{"replay", "--repository", "r", "--kupgrade="}, 2, Stream::standard_error, "--kupgrade"},
      {{"digests", "--repository", "r", "--record", "--record"},
       2,
       Stream::standard_error,
       "--record"},
      {{"templates", "--repository", "r"}, 2, Stream::standard_error, "not provided: --output"},
      {{"templates", "--output", "o", "--repository", "r", "--repository", "s"},
       2,
       Stream::standard_error,
       "--repository"},
      {{"replay", "--repository", "r", "digests"}, 2, Stream::standard_error, "digests"},
      // An unknown argument is named even when required options are missing.
      {{"upgrade", "--bogus"}, 2, Stream::standard_error, "error: unexpected argument '--bogus' found\n"},
      {{"upgrade", "-x"}, 2, Stream::standard_error, "error: unexpected argument '-x' found\n"},
      {{"upgrade", "--kupgrade", "a", "--", "x"}, 2, Stream::standard_error, "error: unexpected argument 'x' found\n"},
      {{"help", "upgrade"}, 2, Stream::standard_error, "error: unrecognized subcommand 'help'\n"},
      {{"--bogus", "upgrade"}, 2, Stream::standard_error, "error: unexpected argument '--bogus' found\n"},
      {{"--"}, 2, Stream::standard_error, "error: a subcommand is required but one was not provided\n"},
      // A flag takes no value.
      {{"digests", "--repository", "r", "--record=true"},
       2,
       Stream::standard_error,
       "error: unexpected value 'true' for '--record' found\n"},
      {{"digests", "--record=", "--repository", "r"},
       2,
       Stream::standard_error,
       "error: unexpected value '' for '--record' found\n"},
      {{"--help=x"}, 2, Stream::standard_error, "error: unexpected value 'x' for '--help' found\n"},
      {{"templates", "-h=x"}, 2, Stream::standard_error, "error: unexpected value 'x' for '-h' found\n"},
  };
  for (const Case& c : cases) {
    const auto parsed = parse_line(c.arguments);
    const std::string line = ::testing::PrintToString(c.arguments);
    ASSERT_FALSE(parsed) << line;
    EXPECT_EQ(parsed.error().code, c.code) << line;
    EXPECT_EQ(parsed.error().stream, c.stream) << line;
    EXPECT_THAT(parsed.error().text, HasSubstr(c.text)) << line;
  }
}

TEST(Parse, HelpListsTheSubcommandsInOrderWithoutAHelpSubcommand) {
  const std::string help = parse_line({"--help"}).error().text;
  const auto upgrade = help.find("upgrade");
  const auto replay = help.find("replay");
  const auto digests = help.find("digests");
  const auto templates = help.find("templates");
  EXPECT_LT(upgrade, replay);
  EXPECT_LT(replay, digests);
  EXPECT_LT(digests, templates);
  EXPECT_THAT(help, HasSubstr("-h,--help"));
  EXPECT_THAT(help, HasSubstr("Print help"));
  EXPECT_THAT(help, ::testing::Not(HasSubstr("--version")));
}

TEST(Parse, SubcommandHelpShowsValueNamesAndHelpTexts) {
  const std::string digests = parse_line({"digests", "--help"}).error().text;
  EXPECT_THAT(digests, HasSubstr("--repository REPOSITORY"));
  EXPECT_THAT(digests, HasSubstr("--kupgrade KUPGRADE"));
  EXPECT_THAT(digests, HasSubstr("Record the digests of released templates that have none"));
  const std::string templates = parse_line({"templates", "-h"}).error().text;
  EXPECT_THAT(templates, HasSubstr("--output OUTPUT"));
  EXPECT_THAT(templates,
              HasSubstr("Folder that receives one templates folder per version and provider"));
  const std::string upgrade = parse_line({"upgrade", "--help"}).error().text;
  EXPECT_THAT(upgrade, HasSubstr("--version VERSION"));
}

TEST(Parse, HelpTextsCarryNoTrailingWhiteSpace) {
  const std::vector<std::string> calls[] = {
      {}, {"--help"}, {"upgrade", "--help"}, {"replay", "-h"}, {"digests", "--help"}, {"templates", "--help"}};
  for (const std::vector<std::string>& arguments : calls) {
    std::istringstream text(parse_line(arguments).error().text);
    for (std::string line; std::getline(text, line);) {
      EXPECT_TRUE(line.empty() || (line.back() != ' ' && line.back() != '\t'))
          << ::testing::PrintToString(arguments) << ": '" << line << "'";
    }
  }
}

TEST(Parse, UsageLinesUseTheInvocationsFinalComponent) {
  const std::vector<std::string> renamed = {"./bin/other-name", "upgrade"};
  EXPECT_THAT(parse(renamed).error().text, HasSubstr("Usage: other-name upgrade"));
  const std::vector<std::string> not_utf8 = {"/bin/\xFF", "upgrade"};
  EXPECT_THAT(parse(not_utf8).error().text, HasSubstr("Usage: qvk_kupgrader upgrade"));
}

TEST(Parse, Upgrade) {
  const auto parsed =
      parse_line({"upgrade", "--kupgrade", "tree", "--kprofile=/k/profile", "--version", "2.4.0"});
  ASSERT_TRUE(parsed);
  const Upgrade& upgrade = std::get<Upgrade>(*parsed);
  EXPECT_EQ(upgrade.kupgrade, "tree");
  EXPECT_EQ(upgrade.kprofile, "/k/profile");
  EXPECT_EQ(upgrade.version, "2.4.0");
}

TEST(Parse, UpgradeValuesThatLookUnusual) {
  const auto parsed = parse_line({"upgrade", "--kupgrade=-tree", "--kprofile", "-", "--version="});
  ASSERT_TRUE(parsed);
  const Upgrade& upgrade = std::get<Upgrade>(*parsed);
  EXPECT_EQ(upgrade.kupgrade, "-tree");
  EXPECT_EQ(upgrade.kprofile, "-");
  EXPECT_EQ(upgrade.version, "");
}

TEST(Parse, ReplayWithAndWithoutOptionalPaths) {
  const auto bare = parse_line({"replay", "--repository", "repo"});
  ASSERT_TRUE(bare);
  const Replay& replay = std::get<Replay>(*bare);
  EXPECT_EQ(replay.repository.repository, "repo");
  EXPECT_FALSE(replay.repository.kupgrade);
  EXPECT_FALSE(replay.diverged);

  const auto full = parse_line(
      {"replay", "--diverged", "out/\xFF", "--repository", "repo", "--kupgrade", "tree"});
  ASSERT_TRUE(full);
  const Replay& with = std::get<Replay>(*full);
  EXPECT_EQ(with.repository.kupgrade, std::filesystem::path("tree"));
  EXPECT_EQ(with.diverged, std::filesystem::path("out/\xFF"));
}

TEST(Parse, DigestsRecordFlag) {
  const auto without = parse_line({"digests", "--repository", "repo"});
  ASSERT_TRUE(without);
  EXPECT_FALSE(std::get<Digests>(*without).record);
  const auto with = parse_line({"digests", "--record", "--repository", "repo"});
  ASSERT_TRUE(with);
  EXPECT_TRUE(std::get<Digests>(*with).record);
  EXPECT_EQ(std::get<Digests>(*with).repository.repository, "repo");
}

TEST(Parse, Templates) {
  const auto parsed = parse_line({"templates", "--repository", "/repo", "--output", "out"});
  ASSERT_TRUE(parsed);
  const Templates& templates = std::get<Templates>(*parsed);
  EXPECT_EQ(templates.repository.repository, "/repo");
  EXPECT_EQ(templates.output, "out");
}

TEST(RepositorySources, ResolvesAgainstTheCurrentFolder) {
  const std::string current = std::filesystem::current_path().native();
  struct Case {
    Repository repository;
    std::string root;
    std::string kupgrade;
  };
  const Case cases[] = {
      {{".", std::nullopt}, current, current + "/variant/resources/kupgrade"},
      {{"/repo/", std::nullopt}, "/repo/", "/repo/variant/resources/kupgrade"},
      {{"a/../b", std::nullopt},
       current + "/a/../b",
       current + "/a/../b/variant/resources/kupgrade"},
      {{"//x", std::nullopt}, "//x", "//x/variant/resources/kupgrade"},
      {{"/repo", std::filesystem::path("tree")}, "/repo", current + "/tree"},
      {{"/repo", std::filesystem::path("/other//tree/")}, "/repo", "/other/tree/"},
  };
  for (const Case& c : cases) {
    const auto sources = c.repository.sources();
    const std::string label = c.repository.repository.native();
    EXPECT_EQ(sources.root.native(), c.root) << label;
    EXPECT_EQ(sources.kupgrade.native(), c.kupgrade) << label;
    EXPECT_EQ(sources.kprofile, sources.root / "variant/resources/kprofile") << label;
    EXPECT_EQ(sources.config, sources.root / "variant/config/kupgrade") << label;
    EXPECT_EQ(sources.digests(), sources.root / "variant/config/kupgrade/digests.yaml") << label;
  }
}

TEST(RepositorySources, KeepsAPathThatCannotBeMadeAbsolute) {
  const auto sources = Repository{"", std::filesystem::path("")}.sources();
  EXPECT_EQ(sources.root, "");
  EXPECT_EQ(sources.kupgrade, "");
  EXPECT_EQ(sources.kprofile, "variant/resources/kprofile");
}

}  // namespace
}  // namespace qv_server::cli
