#include <gtest/gtest.h>

#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/spec/read.h"

namespace runtime::instance::upgrade::spec {
namespace {

ReadResult<Operation> read_item(std::string_view text) {
  auto node = qv_yaml::parse_single(text, {.reject_duplicate_keys = false});
  EXPECT_TRUE(node) << node.error();
  return read_operation(*node);
}

std::string message_of(std::string_view text) {
  auto operation = read_item(text);
  return operation ? std::string("<read>") : operation.error().message;
}

struct RejectCase {
  std::string_view item;
  std::string_view message;
};

TEST(ReadOperationTest, RejectsWithTheReadersMessages) {
  const RejectCase cases[] = {
      {"{leaf: 5}", "missing field `op`"},
      {"[]", "missing field `op`"},
      {"{op: remove-leaf-if, op: remove-leaf-if, leaf: a}", "duplicate field `op`"},
      {"{op: bogus, leaf: 5}",
       "unknown variant `bogus`, expected one of `modify-leaf-value-if`, `modify-text-if`, "
       "`insert-sibling-if-existing`, `insert-child-if-missing`, `nest-children-if-flat`, "
       "`derive-item-if-missing`, `derive-sibling-if-existing`, `remove-leaf-if`"},
      {"{op: Remove-Leaf-If, leaf: a}", "unknown variant `Remove-Leaf-If`, expected one of"},
      {"{op: remove_leaf_if, leaf: a}", "unknown variant `remove_leaf_if`, expected one of"},
      {"{op: 8, leaf: a}", "invalid value: integer `8`, expected variant index 0 <= i < 8"},
      {"{op: 1.5, leaf: a}", "invalid type: floating point `1.5`, expected variant identifier"},
      {"{op: [x], leaf: a}", "invalid type: sequence, expected variant identifier"},
      {"remove-leaf-if", "invalid type: string \"remove-leaf-if\", expected internally tagged enum Operation"},
      {"~", "invalid type: unit value, expected internally tagged enum Operation"},
      {"{op: remove-leaf-if, leaf: a, value: 1}", "unknown field `value`, expected `leaf`"},
      {"{op: insert-child-if-missing, leaf: a, child: b, extra: 1}",
       "unknown field `extra`, expected one of `leaf`, `child`, `value`"},
      {"{op: nest-children-if-flat, leaf: a, under: b, x: 1}", "unknown field `x`, expected `leaf` or `under`"},
      {"{op: derive-sibling-if-existing, leaf: a, pattern: p, sibling: s, scope: everywhere}",
       "unknown field `scope`, expected one of `leaf`, `pattern`, `sibling`, `value`, `placement`"},
      {"{op: remove-leaf-if, 1: a}", "invalid value: integer `1`, expected field index 0 <= i < 1"},
      {"{op: insert-sibling-if-existing, 5: a}", "invalid value: integer `5`, expected field index 0 <= i < 5"},
      {"{op: remove-leaf-if, true: a}", "invalid type: boolean `true`, expected field identifier"},
      {"{op: insert-child-if-missing, leaf: a, leaf: b, child: c}", "duplicate field `leaf`"},
      {"{op: remove-leaf-if, leaf: a, 0: b}", "duplicate field `leaf`"},
      {"{op: nest-children-if-flat, under: spec}", "missing field `leaf`"},
      {"{op: nest-children-if-flat}", "missing field `leaf`"},
      {"{op: insert-child-if-missing, leaf: a}", "missing field `child`"},
      {"{op: remove-leaf-if, leaf: 5}", "invalid type: integer `5`, expected a string"},
      {"{op: remove-leaf-if, leaf: 0x1F}", "invalid type: integer `31`, expected a string"},
      {"{op: remove-leaf-if, leaf: +5}", "invalid type: integer `5`, expected a string"},
      {"{op: remove-leaf-if, leaf: 007}", "invalid type: integer `7`, expected a string"},
      {"{op: remove-leaf-if, leaf: 0o17}", "invalid type: integer `15`, expected a string"},
      {"{op: remove-leaf-if, leaf: -0}", "invalid type: integer `0`, expected a string"},
      {"{op: remove-leaf-if, leaf: 1e5}", "invalid type: floating point `100000.0`, expected a string"},
      {"{op: remove-leaf-if, leaf: 1e3}", "invalid type: floating point `1000.0`, expected a string"},
      {"{op: 0x10, leaf: a}", "invalid value: integer `16`, expected variant index 0 <= i < 8"},
      {"{op: remove-leaf-if, leaf: true}", "invalid type: boolean `true`, expected a string"},
      {"{op: remove-leaf-if, leaf: ~}", "invalid type: unit value, expected a string"},
      {"{op: modify-text-if, pattern: p, replacement: r, before: 1}", "invalid type: integer `1`, expected a string"},
      {"{op: insert-sibling-if-existing, leaf: a, sibling: b, placement: Before}",
       "unknown variant `Before`, expected `before` or `after`"},
      {"{op: insert-sibling-if-existing, leaf: a, sibling: b, scope: all}",
       "unknown variant `all`, expected `addressed` or `everywhere`"},
      {"{op: insert-sibling-if-existing, leaf: a, sibling: b, placement: [before]}",
       "invalid type: sequence, expected string or map"},
      {"{op: insert-sibling-if-existing, leaf: a, sibling: b, placement: 1}",
       "invalid type: integer `1`, expected string or map"},
      {"{op: insert-sibling-if-existing, leaf: a, sibling: b, placement: {}}",
       "invalid value: map, expected map with a single key"},
      {"{op: insert-sibling-if-existing, leaf: a, sibling: b, placement: {before: ~, after: ~}}",
       "invalid value: map, expected map with a single key"},
      {"{op: insert-sibling-if-existing, leaf: a, sibling: b, placement: {2: ~}}",
       "invalid value: integer `2`, expected variant index 0 <= i < 2"},
      {"{op: insert-sibling-if-existing, leaf: a, sibling: b, placement: {before: 1}}",
       "invalid type: integer `1`, expected unit"},
      {"[insert-child-if-missing, a]", "invalid length 1, expected struct InsertChildIfMissing with 3 elements"},
      {"[remove-leaf-if]", "invalid length 0, expected struct RemoveLeafIf with 1 element"},
      {"[remove-leaf-if, a, b]", "invalid length 2, expected 1 element in sequence"},
      {"[nest-children-if-flat, a, b, c]", "invalid length 3, expected 2 elements in sequence"},
      {"{op: modify-leaf-value-if, leaf: a, to: !x 1}",
       "untagged and internally tagged enums do not support enum input"},
      {"!op {op: remove-leaf-if, leaf: a}", "untagged and internally tagged enums do not support enum input"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(message_of(c.item).substr(0, c.message.size()), c.message) << c.item;
  }
}

TEST(ReadOperationTest, FailuresNameTheirPlace) {
  auto operation = read_item("{op: remove-leaf-if,\n leaf: 5}");
  ASSERT_FALSE(operation);
  EXPECT_EQ(operation.error().text(), "invalid type: integer `5`, expected a string at line 2 column 8");
}

TEST(ReadOperationTest, ReadsEachKindWithDefaults) {
  auto remove = read_item("{op: remove-leaf-if, leaf: a.b}");
  ASSERT_TRUE(remove) << remove.error().text();
  EXPECT_EQ(std::get<RemoveLeafIf>(remove->kind).leaf, "a.b");

  auto sequence = read_item("[remove-leaf-if, a.b]");
  ASSERT_TRUE(sequence) << sequence.error().text();
  EXPECT_EQ(std::get<RemoveLeafIf>(sequence->kind).leaf, "a.b");

  auto by_index = read_item("{op: 7, leaf: a}");
  ASSERT_TRUE(by_index);
  EXPECT_TRUE(std::holds_alternative<RemoveLeafIf>(by_index->kind));

  auto sibling = read_item("{leaf: x, sibling: y, op: insert-sibling-if-existing}");
  ASSERT_TRUE(sibling) << sibling.error().text();
  const auto& s = std::get<InsertSiblingIfExisting>(sibling->kind);
  EXPECT_TRUE(s.value.is_null());
  EXPECT_EQ(s.placement, Placement::kAfter);
  EXPECT_EQ(s.scope, Scope::kAddressed);

  for (std::string_view text : {"{op: modify-leaf-value-if, leaf: a}", "{op: modify-leaf-value-if, leaf: a, from: ~}"}) {
    auto leaf = read_item(text);
    ASSERT_TRUE(leaf) << text;
    EXPECT_TRUE(std::get<ModifyLeafValueIf>(leaf->kind).from.is_null());
    EXPECT_TRUE(std::get<ModifyLeafValueIf>(leaf->kind).to.is_null());
  }

  auto absent = read_item("{op: modify-text-if, pattern: p, replacement: r, before: ~}");
  ASSERT_TRUE(absent);
  EXPECT_FALSE(std::get<ModifyTextIf>(absent->kind).before);
  EXPECT_FALSE(std::get<ModifyTextIf>(absent->kind).after);
  auto empty = read_item("{op: modify-text-if, pattern: p, replacement: r, before: ''}");
  ASSERT_TRUE(empty);
  EXPECT_EQ(std::get<ModifyTextIf>(empty->kind).before, std::optional<std::string>(""));

  auto quoted = read_item("{op: remove-leaf-if, leaf: '5'}");
  ASSERT_TRUE(quoted);
  EXPECT_EQ(std::get<RemoveLeafIf>(quoted->kind).leaf, "5");

  auto child = read_item("[insert-child-if-missing, a, b]");
  ASSERT_TRUE(child);
  EXPECT_TRUE(std::get<InsertChildIfMissing>(child->kind).value.is_null());

  auto by_field_index = read_item("{op: nest-children-if-flat, 0: a, 1: b}");
  ASSERT_TRUE(by_field_index) << by_field_index.error().text();
  EXPECT_EQ(std::get<NestChildrenIfFlat>(by_field_index->kind).under, "b");
}

TEST(ReadOperationTest, PlacementForms) {
  for (std::string_view form : {"before", "{before: ~}", "{before: {}}", "{0: ~}"}) {
    auto node = qv_yaml::parse_single(form);
    ASSERT_TRUE(node);
    auto placement = read_placement(*node);
    ASSERT_TRUE(placement) << form << ": " << placement.error().text();
    EXPECT_EQ(*placement, Placement::kBefore) << form;
  }
}

TEST(ReadOperationTest, ListsReadWholeOrNotAtAll) {
  auto read_list = [](std::string_view text) {
    auto node = qv_yaml::parse_single(text, {.reject_duplicate_keys = false});
    EXPECT_TRUE(node);
    return read_operations(*node);
  };
  auto empty = read_list("[]");
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
  EXPECT_EQ(read_list("{}").error().message, "invalid type: map, expected a sequence");
  EXPECT_EQ(read_list("x").error().message, "invalid type: string \"x\", expected a sequence");
  auto third_bad = read_list("[{op: remove-leaf-if, leaf: a}, {op: remove-leaf-if, leaf: b}, {op: nope}]");
  ASSERT_FALSE(third_bad);
  EXPECT_NE(third_bad.error().message.find("unknown variant `nope`"), std::string::npos);
}

}  // namespace
}  // namespace runtime::instance::upgrade::spec
