#include "output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv_server::output {
namespace {

using runtime::instance::upgrade::offline::UpgradeReport;
using runtime::instance::upgrade::replay::Mismatch;

TEST(ErrorLine, EscapesAsJsonRequires) {
  struct Case {
    std::string message;
    std::string line;
  };
  const Case cases[] = {
      {"plain", R"({"error":"plain"})"},
      {"say \"hi\"", R"({"error":"say \"hi\""})"},
      {"back\\slash", R"({"error":"back\\slash"})"},
      {"line\nbreak\r\ttab\b\f", R"({"error":"line\nbreak\r\ttab\b\f"})"},
      {"\x01\x1f", R"({"error":"\u0001\u001f"})"},
      {std::string("nul\0", 4), R"({"error":"nul\u0000"})"},
      {"a/b", R"({"error":"a/b"})"},
      {"caf\xC3\xA9 \xE2\x82\xAC", "{\"error\":\"caf\xC3\xA9 \xE2\x82\xAC\"}"},
      {"\x7f", "{\"error\":\"\x7f\"}"},
      {"bad \xFF byte", R"({"error":"The failure could not be serialized"})"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(error_line(c.message), c.line) << c.message;
  }
}

TEST(Reports, UpgradeKeepsFieldOrder) {
  const UpgradeReport report{"1.2.0",
                             {
                                 {"configs", "app.yaml", "app.eks.yaml", "modify", true},
                                 {"pods", "db.yaml", "db.yaml", "retain", false},
                             }};
  EXPECT_EQ(
      upgrade_report(report).value(),
      R"({"version":"1.2.0","steps":[)"
      R"({"family":"configs","file":"app.yaml","variant":"app.eks.yaml","action":"modify","changed":true},)"
      R"({"family":"pods","file":"db.yaml","variant":"db.yaml","action":"retain","changed":false}]})");
  EXPECT_EQ(upgrade_report(UpgradeReport{"1.0", {}}).value(), R"({"version":"1.0","steps":[]})");
}

TEST(Reports, UpgradeEscapesTextsAsJsonRequires) {
  const UpgradeReport report{"1.2.0",
                             {
                                 {"configs", "app.yaml", "app.yaml", "modify", true},
                                 {"pods", "a\"b\\c.yaml", "caf\xC3\xA9\t.yaml", "delete", false},
                             }};
  EXPECT_EQ(upgrade_report(report).value(),
            "{\"version\":\"1.2.0\",\"steps\":["
            "{\"family\":\"configs\",\"file\":\"app.yaml\",\"variant\":\"app.yaml\",\"action\":\"modify\","
            "\"changed\":true},"
            "{\"family\":\"pods\",\"file\":\"a\\\"b\\\\c.yaml\",\"variant\":\"caf\xC3\xA9\\t.yaml\","
            "\"action\":\"delete\",\"changed\":false}]}");
}

TEST(Reports, ReplayAndDigests) {
  const std::vector<Mismatch> mismatches = {
      {runtime::provider::ClusterProvider::kEks, "2.0", "", "is served by no version's kprofile"},
  };
  EXPECT_EQ(replay_report({}).value(), R"({"mismatches":[]})");
  EXPECT_EQ(
      replay_report(mismatches).value(),
      R"({"mismatches":[{"provider":"eks","version":"2.0","file":"","reason":"is served by no version's kprofile"}]})");
  EXPECT_EQ(digests_report(0, {}).value(), R"({"recorded":0,"mismatches":[]})");
  EXPECT_EQ(
      digests_report(18446744073709551615u, mismatches).value(),
      R"({"recorded":18446744073709551615,"mismatches":[{"provider":"eks","version":"2.0","file":"","reason":"is served by no version's kprofile"}]})");
}

TEST(Reports, TextsThatAreNotUtf8FailWithTheSerialisersMessage) {
  const UpgradeReport steps{"1.0", {{"pods", "\xFF.yaml", "\xFF.yaml", "delete", true}}};
  const auto report = upgrade_report(steps);
  ASSERT_FALSE(report);
  EXPECT_NE(report.error().find("invalid UTF-8"), std::string::npos) << report.error();
}

TEST(Reports, TemplatesFolder) {
  EXPECT_EQ(templates_report("out/templates").value(), R"({"folder":"out/templates"})");
  const auto invalid = templates_report("out/\xFF/templates");
  ASSERT_FALSE(invalid);
  EXPECT_EQ(invalid.error(), "path contains invalid UTF-8 characters");
}

}  // namespace
}  // namespace qv_server::output
