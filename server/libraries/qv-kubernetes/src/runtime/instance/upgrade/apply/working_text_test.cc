#include "runtime/instance/upgrade/apply/working_text.h"

#include <gtest/gtest.h>

#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/spec/read.h"

namespace runtime::instance::upgrade::apply {
namespace {

std::vector<spec::Operation> operations(std::string_view yaml) {
  auto node = qv_yaml::parse_single(yaml);
  EXPECT_TRUE(node) << node.error();
  auto list = spec::read_operations(*node);
  EXPECT_TRUE(list) << list.error().text();
  return *list;
}

// The text that applying the operations one by one, each on the text the
// previous one handed back, gives; and whether any fired.
std::pair<std::string, bool> one_by_one(const std::vector<spec::Operation>& ops, std::string text) {
  bool changed = false;
  for (const auto& op : ops) {
    auto replaced = op.replace("1.0", "configs/a.yaml", std::move(text));
    EXPECT_TRUE(replaced);
    text = std::move(replaced->text);
    changed = changed || replaced->changed;
  }
  return {text, changed};
}

TEST(WorkingTextTest, ChainedEditsGiveTheTextOfEditsOneByOne) {
  const std::string_view input =
      "# keep me\nserver:\n  port: 8080\n  hex: 0x1F\n  flag: 'true'\nqueues: [jobs-1, mail-2]\nempty:\n";
  const std::string_view lists[] = {
      "[]",
      "[{op: remove-leaf-if, leaf: nothing}]",
      "[{op: modify-leaf-value-if, leaf: server.port, from: 8080, to: 9090},"
      " {op: insert-child-if-missing, leaf: server, child: timeout, value: 30}]",
      "[{op: insert-child-if-missing, leaf: server.port.x, child: y},"
      " {op: remove-leaf-if, leaf: server.hex}]",
      "[{op: modify-text-if, pattern: '8080', replacement: '7070'},"
      " {op: nest-children-if-flat, leaf: server, under: http},"
      " {op: modify-text-if, pattern: 'http:', replacement: 'web:'}]",
      "[{op: derive-item-if-missing, leaf: queues, pattern: '^(?<q>[a-z]+)-(?<n>[0-9])$', item: '${q}-dead-${n}'},"
      " {op: derive-sibling-if-existing, leaf: server.port, pattern: '(?<p>[0-9]+)', sibling: probe, value: 'p${p}'},"
      " {op: insert-sibling-if-existing, leaf: x.flag, sibling: other, scope: everywhere}]",
      "[{op: insert-child-if-missing, leaf: empty, child: c}, {op: modify-text-if, pattern: nomatch, replacement: x}]",
  };
  for (std::string_view list : lists) {
    const auto ops = operations(list);
    const auto [expected, expected_changed] = one_by_one(ops, std::string(input));
    PatternCache patterns;
    WorkBudget work;
    WorkingText text{std::string(input), "1.0", "configs/a.yaml", EditContext{patterns, work}};
    bool changed = false;
    for (const auto& op : ops) {
      auto fired = op.apply(text);
      ASSERT_TRUE(fired) << list;
      changed = changed || *fired;
    }
    auto result = text.take();
    ASSERT_TRUE(result) << list;
    EXPECT_EQ(*result, expected) << list;
    EXPECT_EQ(changed, expected_changed) << list;
  }
}

TEST(WorkingTextTest, NothingFiredHandsBackTheInputByteForByte) {
  PatternCache patterns;
  WorkBudget work;
  WorkingText text{"# c\na:   1\n", "1.0", "e", EditContext{patterns, work}};
  const auto ops = operations("[{op: remove-leaf-if, leaf: b}, {op: modify-leaf-value-if, leaf: a, from: 2}]");
  for (const auto& op : ops) ASSERT_FALSE(*op.apply(text));
  EXPECT_EQ(*text.take(), "# c\na:   1\n");
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
