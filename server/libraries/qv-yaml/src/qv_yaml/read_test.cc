#include "qv_yaml/read.h"

#include <gtest/gtest.h>

#include <array>

#include "qv_yaml/parse.h"

namespace qv_yaml::read {
namespace {

Value parse(std::string_view text) {
  auto value = parse_single(text, {.reject_duplicate_keys = false});
  EXPECT_TRUE(value) << value.error();
  return value ? *value : Value();
}

struct TextCase {
  std::string_view text;
  std::string_view expected;
};

TEST(DescribeTest, ScalarsAreDescribedByTheirValue) {
  const TextCase cases[] = {
      {"0x1F", "integer `31`"},
      {"+5", "integer `5`"},
      {"007", "integer `7`"},
      {"0o17", "integer `15`"},
      {"-0", "integer `0`"},
      {"-12", "integer `-12`"},
      {"1e5", "floating point `100000.0`"},
      {"1e3", "floating point `1000.0`"},
      {"1.5", "floating point `1.5`"},
      {"+1.50", "floating point `1.5`"},
      {"1e20", "floating point `100000000000000000000.0`"},
      {"1e-7", "floating point `0.0000001`"},
      {"99999999999999999999", "floating point `100000000000000000000.0`"},
      {"!!float 1", "floating point `1.0`"},
      {"-.inf", "floating point `-.inf`"},
      {"True", "boolean `true`"},
      {"~", "unit value"},
      {"'0x1F'", "string \"0x1F\""},
  };
  for (const auto& c : cases) EXPECT_EQ(describe(parse(c.text)), c.expected) << c.text;
}

TEST(ReadRecordTest, IgnoredKeysMayBeOfAnyKind) {
  static constexpr std::array<std::string_view, 1> kFields = {"a"};
  const Value record = parse(
      "true: x\n1.5: x\n~: x\n? [s]\n: x\n? {m: 1}\n: x\n-1: x\n!t k: x\nnote: !t x\n7: x\na: kept\n");
  std::string a;
  auto given = read_record(record.as_mapping(), {kFields, UnknownKeys::kIgnore},
                           [&](std::size_t, const Value& value) { return assign(a, string(value)); });
  ASSERT_TRUE(given) << given.error().text();
  EXPECT_EQ(*given, std::vector<bool>{true});
  EXPECT_EQ(a, "kept");
}

TEST(ReadRecordTest, RejectedKeysNameTheirKind) {
  static constexpr std::array<std::string_view, 1> kFields = {"a"};
  const TextCase cases[] = {
      {"true: x", "invalid type: boolean `true`, expected field identifier"},
      {"-1: x", "invalid type: integer `-1`, expected field identifier"},
      {"0x10: x", "invalid value: integer `16`, expected field index 0 <= i < 1"},
      {"b: x", "unknown field `b`, expected `a`"},
  };
  for (const auto& c : cases) {
    auto given = read_record(parse(c.text).as_mapping(), {kFields, UnknownKeys::kReject},
                             [](std::size_t, const Value&) { return std::nullopt; });
    ASSERT_FALSE(given) << c.text;
    EXPECT_EQ(given.error().message, c.expected) << c.text;
  }
}

}  // namespace
}  // namespace qv_yaml::read
