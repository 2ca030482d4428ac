#include <gtest/gtest.h>

#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/spec/read.h"

namespace runtime::instance::upgrade::spec {
namespace {

ReadResult<Spec> read_text(std::string_view text) {
  auto node = qv_yaml::parse_single(text, {.reject_duplicate_keys = false});
  EXPECT_TRUE(node) << node.error();
  return read_spec(*node);
}

TEST(ReadSpecTest, ReadsTheWorkedExample) {
  auto spec = read_text(R"(schema: 1
note: ignored
configs:
  app.yaml:
    app.yaml: {action: retain}
    app_eks.yaml:
      action: modify
      changes:
      - {op: remove-leaf-if, leaf: a.b}
pods:
  worker.yaml:
    worker.yaml: {action: create}
resolved:
  configs:
    app.yaml:
      app.yaml: {action: modify, changes: [], extra: kept out}
)");
  ASSERT_TRUE(spec) << spec.error().text();
  EXPECT_EQ(spec->schema, 1u);
  EXPECT_TRUE(spec->assets.empty());
  const GroupMap& app = spec->configs.at("app.yaml");
  EXPECT_EQ(app.at("app.yaml").kind, ActionKind::kRetain);
  EXPECT_EQ(app.at("app_eks.yaml").kind, ActionKind::kModify);
  EXPECT_EQ(app.at("app_eks.yaml").changes.size(), 1u);
  EXPECT_EQ(spec->pods.at("worker.yaml").at("worker.yaml").name(), "create");
  EXPECT_EQ(spec->resolved.configs.at("app.yaml").at("app.yaml").kind, ActionKind::kModify);
}

TEST(ReadSpecTest, EmptyMapsAndTextKeys) {
  auto spec = read_text("schema: 1\nassets:\nconfigs:\n  a.yaml:\n123:\n  x: 1\npods: {1.10: {1.10: {action: delete}}}\n");
  ASSERT_TRUE(spec) << spec.error().text();
  EXPECT_TRUE(spec->assets.empty());
  EXPECT_TRUE(spec->configs.at("a.yaml").empty());
  EXPECT_EQ(spec->pods.at("1.10").at("1.10").kind, ActionKind::kDelete);
}

TEST(ReadSpecTest, RepeatedGroupKeysKeepTheLastEntry) {
  auto spec = read_text("schema: 1\nconfigs:\n  a.yaml:\n    a.yaml: {action: retain}\n    a.yaml: {action: delete}\n");
  ASSERT_TRUE(spec) << spec.error().text();
  EXPECT_EQ(spec->configs.at("a.yaml").at("a.yaml").kind, ActionKind::kDelete);
}

struct RejectCase {
  std::string_view text;
  std::string_view message;
};

TEST(ReadSpecTest, Rejections) {
  const RejectCase cases[] = {
      {"configs: {}\n", "missing field `schema`"},
      {"schema: 1\nschema: 1\n", "duplicate field `schema`"},
      {"schema: x\n", "invalid type: string \"x\", expected u32"},
      {"schema: -1\n", "invalid value: integer `-1`, expected u32"},
      {"schema: 4294967296\n", "invalid value: integer `4294967296`, expected u32"},
      {"[1]\n", "invalid type: sequence, expected struct Spec"},
      {"schema: 1\nassets: [x]\n", "invalid type: sequence, expected a map"},
      {"schema: 1\nassets: {a.yaml: 5}\n", "invalid type: integer `5`, expected a map"},
      {"schema: 1\nresolved: {pods: {}}\n", "unknown field `pods`, expected `configs`"},
      {"schema: 1\nconfigs: {a: {a: {action: retain, changes: []}}}\n", "unknown field `changes`, there are no fields"},
      {"schema: 1\nconfigs: {a: {a: {action: modify}}}\n", "missing field `changes`"},
      {"schema: 1\nconfigs: {a: {a: {action: modify, changes: [], changes: []}}}\n", "duplicate field `changes`"},
      {"schema: 1\nconfigs: {a: {a: {changes: []}}}\n", "missing field `action`"},
      {"schema: 1\nconfigs: {a: {a: {action: retain, action: retain}}}\n", "duplicate field `action`"},
      {"schema: 1\nconfigs: {a: {a: {action: Retain}}}\n",
       "unknown variant `Retain`, expected one of `retain`, `create`, `replace`, `delete`, `merge`, `modify`"},
      {"schema: 1\nconfigs: {a: {a: ~}}\n", "invalid type: unit value, expected internally tagged enum Action"},
      {"schema: 1\nconfigs: {a: {a: retain}}\n",
       "invalid type: string \"retain\", expected internally tagged enum Action"},
      {"schema: 1\nconfigs: {a: {a: [retain, x]}}\n", "invalid length 1, expected 0 elements in sequence"},
      {"schema: 1\nconfigs: {a: {a: [modify]}}\n", "invalid length 0, expected struct Modify with 1 element"},
      {"schema: 1\nconfigs: {{x: 1}: {}}\n", "invalid type: map, expected a string"},
      {"schema: 1\npods: {../x: {../x: {action: delete}}}\n", "invalid value: string \"../x\", expected a file name"},
      {"schema: 1\npods: {a: {/etc/a: {action: delete}}}\n", "invalid value: string \"/etc/a\", expected a file name"},
      {"schema: 1\nassets: {..: {}}\n", "invalid value: string \"..\", expected a file name"},
      {"schema: 1\nassets: {'': {}}\n", "invalid value: string \"\", expected a file name"},
      {"schema: !!float 1\n", "invalid type: floating point `1.0`, expected u32"},
      {"schema: 1\nconfigs: ~\n", "invalid type: unit value, expected a map"},
      {"schema: 1\nconfigs: null\n", "invalid type: unit value, expected a map"},
      {"schema: 1\npods: !!null\n", "invalid type: unit value, expected a map"},
      {"schema: 1\nassets: {a.yaml: NULL}\n", "invalid type: unit value, expected a map"},
      {"schema: 1\nresolved: ~\n", "invalid type: unit value, expected struct Resolved"},
      {"schema: 1\nresolved: {configs: null}\n", "invalid type: unit value, expected a map"},
      {"schema: 1\nresolved:\n  configs:\n    a.yaml: ~\n", "invalid type: unit value, expected a map"},
      {"schema: 1\nconfigs: {a: {a: {action: retain, note: !t x}}}\n",
       "untagged and internally tagged enums do not support enum input"},
      {"schema: 1\nconfigs: {a: {a: {action: modify, changes: !t []}}}\n",
       "untagged and internally tagged enums do not support enum input"},
  };
  for (const auto& c : cases) {
    auto spec = read_text(c.text);
    ASSERT_FALSE(spec) << c.text;
    EXPECT_EQ(spec.error().message.substr(0, c.message.size()), c.message) << c.text;
  }
}

TEST(ReadSpecTest, EmptyValuesReadAsEmptyMaps) {
  auto spec = read_text("schema: 1\nassets:\nconfigs: {a.yaml: }\nresolved:\n  configs:\n");
  ASSERT_TRUE(spec) << spec.error().text();
  EXPECT_TRUE(spec->assets.empty());
  EXPECT_TRUE(spec->configs.at("a.yaml").empty());
  EXPECT_TRUE(spec->resolved.configs.empty());
  auto bare_resolved = read_text("schema: 1\nresolved:\n");
  ASSERT_TRUE(bare_resolved) << bare_resolved.error().text();
}

// Keys the document does not name, of every kind, at the top and beside
// `changes`.
TEST(ReadSpecTest, UnknownKeysAreIgnoredWhateverTheyAre) {
  const std::string_view top_keys[] = {"true: x", "1.5: x", "~: x", "? [a]\n: x", "-1: x", "!t note: x",
                                       "note: !t x", "? {k: v}\n: x", "0x10: x"};
  const std::string_view entry_keys[] = {"true: x", "1.5: x", "~: x", "? [a] : x", "-1: x", "!t note: x",
                                         "note: !t x", "? {k: v} : x", "9: x"};
  for (std::string_view key : top_keys) {
    auto spec = read_text(std::string(key) + "\nschema: 1\n");
    EXPECT_TRUE(spec) << key << ": " << spec.error().text();
  }
  for (std::string_view key : entry_keys) {
    auto spec = read_text("schema: 1\nconfigs: {a: {a: {action: modify, " + std::string(key) +
                          ", changes: [{op: remove-leaf-if, leaf: x}]}}}\n");
    ASSERT_TRUE(spec) << key << ": " << spec.error().text();
    EXPECT_EQ(spec->configs.at("a").at("a").changes.size(), 1u) << key;
  }
}

TEST(ReadSpecTest, ActionForms) {
  auto spec = read_text(
      "schema: 1\nconfigs:\n  a:\n    a: [modify, [{op: remove-leaf-if, leaf: x}]]\n    b: [merge]\n"
      "    c: {action: modify, 0: [], 7: ignored}\n    d: {action: 5, changes: []}\n");
  ASSERT_TRUE(spec) << spec.error().text();
  const GroupMap& group = spec->configs.at("a");
  EXPECT_EQ(group.at("a").changes.size(), 1u);
  EXPECT_EQ(group.at("b").kind, ActionKind::kMerge);
  EXPECT_EQ(group.at("c").kind, ActionKind::kModify);
  EXPECT_EQ(group.at("d").kind, ActionKind::kModify);
}

TEST(ReadSpecTest, ProbeSeesChangesOnly) {
  auto probe_of = [](std::string_view text) {
    auto node = qv_yaml::parse_single(text);
    EXPECT_TRUE(node);
    return read_probe(*node);
  };
  EXPECT_TRUE(probe_of("{action: retain, changes: [x]}")->changes);
  EXPECT_FALSE(probe_of("{action: retain, changes: ~}")->changes);
  EXPECT_FALSE(probe_of("{action: retain}")->changes);
}

}  // namespace
}  // namespace runtime::instance::upgrade::spec
