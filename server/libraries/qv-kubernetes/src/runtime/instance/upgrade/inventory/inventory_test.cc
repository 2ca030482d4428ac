#include "runtime/instance/upgrade/inventory/inventory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/temp_folder.h"

namespace runtime::instance::upgrade::inventory {
namespace {

namespace fs = std::filesystem;

struct Failure {
  std::string code;
  std::string message;
};

// Replaces every "{kupgrade}" in `text` with the folder's path.
std::string with_folder(std::string text, const fs::path& kupgrade) {
  const std::string marker = "{kupgrade}";
  for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
    text.replace(at, marker.size(), kupgrade.string());
  }
  return text;
}

Failure failure_of(const fs::path& kupgrade) {
  auto inventory = read_inventory(kupgrade);
  if (inventory) return {"no failure", ""};
  const auto& source = inventory.error().source;
  if (!source) return {"no source", inventory.error().debug()};
  return {source->code, source->qv_error.message()};
}

struct FailureCase {
  std::string name;
  std::string inventory;
  std::vector<std::string> files;  // relative to the upgrade tree
  std::string code;
  std::string message;  // "{kupgrade}" stands for the upgrade tree's path
};

TEST(ReadInventory, EachRuleFailsWithItsError) {
  const std::vector<FailureCase> cases = {
      {"floor with an upgrader", "schema: 1\nversions:\n  - {version: 1.0.0, upgrader: true}\n",
       {"upgrades/1.0.0.yaml"}, "UpgradeError::5316",
       "The upgrade inventory declares an upgrader for its oldest version '1.0.0'; the oldest version has nothing to "
       "upgrade from."},
      {"pre-release before its release",
       "schema: 1\nversions:\n  - {version: 1.2.0-RC1, upgrader: false}\n  - {version: 1.2.0, upgrader: false}\n",
       {}, "UpgradeError::5315",
       "The upgrade inventory is not sorted newest first: '1.2.0' appears after '1.2.0rc1'."},
      {"equal under PEP 440",
       "schema: 1\nversions:\n  - {version: '1.0', upgrader: false}\n  - {version: 1.0.0, upgrader: false}\n", {},
       "UpgradeError::5314", "The upgrade inventory lists version '1.0.0' more than once."},
      {"duplicate before an unparsable third",
       "schema: 1\nversions:\n  - {version: 2.0, upgrader: false}\n  - {version: 2.0, upgrader: false}\n"
       "  - {version: not a version, upgrader: false}\n",
       {}, "UpgradeError::5314", "The upgrade inventory lists version '2.0' more than once."},
      {"spec file named by the PEP 440 value",
       "schema: 1\nversions:\n  - {version: 1.2.0, upgrader: true}\n  - {version: 1.1.0, upgrader: false}\n",
       {"upgrades/1.2.yaml"}, "UpgradeError::5322",
       "The upgrade inventory declares an upgrader for version '1.2.0', but no spec was found at "
       "'{kupgrade}/upgrades/1.2.0.yaml'."},
      {"spec unexpected before a stray file",
       "schema: 1\nversions:\n  - {version: 1.2.0, upgrader: false}\n  - {version: 1.1.0, upgrader: false}\n",
       {"upgrades/1.2.0.yaml", "upgrades/9.9.9.yaml"}, "UpgradeError::5323",
       "The upgrade inventory declares no upgrader for version '1.2.0', yet a spec exists at "
       "'{kupgrade}/upgrades/1.2.0.yaml'."},
      {"unexpected spec of the oldest version",
       "schema: 1\nversions:\n  - {version: 1.2.0, upgrader: true}\n  - {version: 1.1.0, upgrader: false}\n",
       {"upgrades/1.2.0.yaml", "upgrades/1.1.0.yaml"}, "UpgradeError::5323",
       "The upgrade inventory declares no upgrader for version '1.1.0', yet a spec exists at "
       "'{kupgrade}/upgrades/1.1.0.yaml'."},
      {"orphan spec file",
       "schema: 1\nversions:\n  - {version: 1.2.0, upgrader: true}\n  - {version: 1.1.0, upgrader: false}\n",
       {"upgrades/1.2.0.yaml", "upgrades/notes.yml", "upgrades/.yaml", "upgrades/9.9.9.yaml"},
       "UpgradeError::5324",
       "The upgrade spec '{kupgrade}/upgrades/9.9.9.yaml' names version '9.9.9', which the upgrade inventory does "
       "not declare an upgrader for."},
      {"two documents", "schema: 1\nversions:\n  - {version: 1.0.0, upgrader: false}\n---\nschema: 1\n", {},
       "UpgradeError::5311",
       "Could not parse the upgrade inventory: deserializing from YAML containing more than one document is not "
       "supported."},
      {"schema before versions", "schema: 2\nversions:\n  - {version: not a version, upgrader: true}\n", {},
       "UpgradeError::5312", "The upgrade inventory declares schema 2; this quorvale supports 1."},
      {"no versions", "schema: 1\nversions: []\n", {}, "UpgradeError::5313",
       "The upgrade inventory lists no versions."},
      {"unparsable version", "schema: 1\nversions:\n  - {version: '1.0', upgrader: false}\n  - {version: x.y, "
       "upgrader: false}\n",
       {}, "UpgradeError::5310", ""},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    const test_support::TempFolder kupgrade;
    kupgrade.write("upgrades.yaml", c.inventory);
    for (const std::string& file : c.files) kupgrade.write(file, "schema: 1\n");
    const Failure failure = failure_of(kupgrade.path());
    EXPECT_EQ(failure.code, c.code) << failure.message;
    if (c.message.empty()) {
      EXPECT_EQ(failure.message.rfind("Could not parse version 'x.y': ", 0), 0u) << failure.message;
    } else {
      EXPECT_EQ(failure.message, with_folder(c.message, kupgrade.path()));
    }
  }
}

TEST(ReadInventory, UnparsableDocumentsFailToParse) {
  const std::vector<std::string> documents = {
      "",
      "# only a comment\n",
      "versions:\n  - {version: 1.0.0, upgrader: false}\n",
      "schema: 1\nversions:\n  - {version: 1.0.0}\n",
      "schema: 1\nschema: 1\nversions:\n  - {version: 1.0.0, upgrader: false}\n",
      "schema: 1\nversions:\n  - {version: 1.0.0, version: 1.0.1, upgrader: false}\n",
      "schema: 1\nversions:\n  - {version: 1.0.0, upgrader: maybe}\n",
      "schema: -1\nversions:\n  - {version: 1.0.0, upgrader: false}\n",
      "schema: 1\nversions: {version: 1.0.0, upgrader: false}\n",
      "- schema: 1\n",
      "schema: [1\n",
  };
  for (const std::string& document : documents) {
    SCOPED_TRACE(document);
    const test_support::TempFolder kupgrade;
    kupgrade.write("upgrades.yaml", document);
    const Failure failure = failure_of(kupgrade.path());
    EXPECT_EQ(failure.code, "UpgradeError::5311");
    EXPECT_EQ(failure.message.rfind("Could not parse the upgrade inventory: ", 0), 0u) << failure.message;
  }
}

TEST(ReadInventory, MissingOrNonUtf8FileFailsToRead) {
  const test_support::TempFolder missing;
  const Failure absent = failure_of(missing.path());
  EXPECT_EQ(absent.code, "UpgradeError::5321");
  EXPECT_EQ(absent.message.rfind("Could not read the upgrade inventory '" +
                                     (missing.path() / "upgrades.yaml").string() + "': ",
                                 0),
            0u)
      << absent.message;

  const test_support::TempFolder binary;
  binary.write("upgrades.yaml", "schema: 1\nversions:\n  - {version: \xff, upgrader: false}\n");
  EXPECT_EQ(failure_of(binary.path()).code, "UpgradeError::5321");
}

TEST(ReadInventory, OneEntryWithoutUpgraderIsValid) {
  const test_support::TempFolder kupgrade;
  kupgrade.write("upgrades.yaml", "schema: 1\nversions:\n  - {version: 1.0.0, upgrader: false}\n");
  auto inventory = read_inventory(kupgrade.path());
  ASSERT_TRUE(inventory) << inventory.error().debug();
  EXPECT_EQ(inventory->schema, 1u);
  ASSERT_EQ(inventory->versions.size(), 1u);
  EXPECT_EQ(inventory->versions[0].version, "1.0.0");
  EXPECT_FALSE(inventory->versions[0].upgrader);
}

TEST(ReadInventory, KeepsTextsAsWrittenAndIgnoresExtraKeys) {
  const test_support::TempFolder kupgrade;
  kupgrade.write("upgrades.yaml",
                 "schema: 1\n"
                 "comment: released versions\n"
                 "versions:\n"
                 "  - version: 1.10\n"
                 "    upgrader: true\n"
                 "    note: unquoted\n"
                 "  - {version: \"1.9\", upgrader: true}\n"
                 "  - {version: 1.2.0-RC1, upgrader: false}\n");
  kupgrade.write("upgrades/1.10.yaml", "schema: 1\n");
  kupgrade.write("upgrades/1.9.yaml", "schema: 1\n");
  kupgrade.write("upgrades/1.10/configs/app.yaml", "content folders are passed over\n");
  kupgrade.write("upgrades/notes.yml", "not a spec\n");
  kupgrade.write("upgrades/.yaml", "no stem\n");
  auto inventory = read_inventory(kupgrade.path());
  ASSERT_TRUE(inventory) << inventory.error().debug();
  ASSERT_EQ(inventory->versions.size(), 3u);
  EXPECT_EQ(inventory->versions[0].version, "1.10");
  EXPECT_TRUE(inventory->versions[0].upgrader);
  EXPECT_EQ(inventory->versions[1].version, "1.9");
  EXPECT_TRUE(inventory->versions[1].upgrader);
  EXPECT_EQ(inventory->versions[2].version, "1.2.0-RC1");
  EXPECT_FALSE(inventory->versions[2].upgrader);
}

TEST(ReadInventory, IgnoresUnknownKeysOfEveryKindAtBothLevels) {
  for (std::string_view key : {"true: x", "1.5: x", "~: x", "? [a] : x", "-1: x", "!t note: x", "note: !t x",
                               "? {k: v} : x", "7: x"}) {
    SCOPED_TRACE(key);
    const test_support::TempFolder kupgrade;
    kupgrade.write("upgrades.yaml", "{schema: 1, " + std::string(key) + ", versions: [{version: 1.0.0, " +
                                        std::string(key) + ", upgrader: false}]}\n");
    auto inventory = read_inventory(kupgrade.path());
    ASSERT_TRUE(inventory) << inventory.error().debug();
    EXPECT_EQ(inventory->versions.at(0).version, "1.0.0");
  }
}

TEST(ReadInventory, LinkedSpecFileCounts) {
  const test_support::TempFolder kupgrade;
  kupgrade.write("upgrades.yaml",
                 "schema: 1\nversions:\n  - {version: 1.1.0, upgrader: true}\n  - {version: 1.0.0, upgrader: false}\n");
  const fs::path target = kupgrade.write("elsewhere/spec.yaml", "schema: 1\n");
  fs::create_directories(kupgrade.path() / "upgrades");
  fs::create_symlink(target, kupgrade.path() / "upgrades/1.1.0.yaml");
  auto inventory = read_inventory(kupgrade.path());
  EXPECT_TRUE(inventory) << inventory.error().debug();
}

}  // namespace
}  // namespace runtime::instance::upgrade::inventory
