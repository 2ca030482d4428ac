#include "qv_yaml/value.h"

#include <gtest/gtest.h>

#include "qv_yaml/parse.h"
#include "qv_yaml/resolve.h"

namespace qv_yaml {
namespace {

Value parse(std::string_view text) {
  auto value = parse_single(text);
  EXPECT_TRUE(value) << value.error();
  return value ? *value : Value();
}

TEST(ValueTest, MappingEqualityIgnoresOrder) {
  EXPECT_EQ(parse("{a: 1, b: [x, y]}"), parse("{b: [x, y], a: 1}"));
  EXPECT_NE(parse("[x, y]"), parse("[y, x]"));
  EXPECT_NE(parse("{a: 1}"), parse("{a: 1, b: 2}"));
}

TEST(ValueTest, KindsNeverEqualAcrossTypes) {
  EXPECT_NE(parse("8080"), parse("'8080'"));
  EXPECT_NE(parse("1"), parse("1.0"));
  EXPECT_NE(parse("true"), parse("'true'"));
  EXPECT_EQ(parse("0x10"), parse("16"));
  EXPECT_EQ(parse(".nan"), parse(".NaN"));
  EXPECT_EQ(parse("!x 1"), parse("!x 1"));
  EXPECT_NE(parse("!x 1"), parse("!y 1"));
}

TEST(ValueTest, SwapRemoveMovesTheLastEntryIntoThePlace) {
  Value value = parse("{a: 1, b: 2, c: 3, d: 4}");
  ASSERT_TRUE(value.as_mapping().swap_remove(Value("b")));
  std::vector<std::string> keys;
  for (const auto& [key, item] : value.as_mapping()) keys.push_back(key.as_string());
  EXPECT_EQ(keys, (std::vector<std::string>{"a", "d", "c"}));
  ASSERT_TRUE(value.as_mapping().swap_remove(Value("c")));
  EXPECT_EQ(value.as_mapping().size(), 2u);
  EXPECT_FALSE(value.as_mapping().swap_remove(Value("zz")));
}

TEST(ValueTest, StringLookupSkipsKeysOfOtherKinds) {
  Value value = parse("{123: plain, '124': quoted}");
  EXPECT_EQ(value.as_mapping().find("123"), nullptr);
  ASSERT_NE(value.as_mapping().find("124"), nullptr);
  EXPECT_NE(value.as_mapping().find(Value(std::uint64_t{123})), nullptr);
}

struct ResolveCase {
  std::string_view text;
  Value::Kind kind;
};

TEST(ResolveTest, PlainScalarsFollowTheCoreSchema) {
  const ResolveCase cases[] = {
      {"", Value::Kind::kNull},          {"~", Value::Kind::kNull},          {"null", Value::Kind::kNull},
      {"NULL", Value::Kind::kNull},      {"nULL", Value::Kind::kString},     {"true", Value::Kind::kBool},
      {"False", Value::Kind::kBool},     {"yes", Value::Kind::kString},      {"on", Value::Kind::kString},
      {"0", Value::Kind::kInteger},      {"-17", Value::Kind::kInteger},     {"+5", Value::Kind::kInteger},
      {"0o17", Value::Kind::kInteger},   {"0x1F", Value::Kind::kInteger},    {"0b1", Value::Kind::kString},
      {"1.5", Value::Kind::kFloat},      {"1.", Value::Kind::kFloat},        {".5", Value::Kind::kFloat},
      {"1e3", Value::Kind::kFloat},      {"-.inf", Value::Kind::kFloat},     {".NaN", Value::Kind::kFloat},
      {"1.10", Value::Kind::kFloat},     {"1.2.3", Value::Kind::kString},    {"12:30", Value::Kind::kString},
      {"99999999999999999999", Value::Kind::kFloat},                         {"e3", Value::Kind::kString},
      {"0x", Value::Kind::kString},      {"- 1", Value::Kind::kString},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(resolve_plain(c.text).kind(), c.kind) << c.text;
    EXPECT_EQ(resolves_to_non_string(c.text), c.kind != Value::Kind::kString) << c.text;
  }
}

TEST(ResolveTest, ScalarsRememberTheirText) {
  EXPECT_EQ(parse("1.10").raw(), "1.10");
  EXPECT_EQ(parse("0x1F").raw(), "0x1F");
  EXPECT_EQ(parse("~").raw(), "~");
  EXPECT_EQ(parse("key").raw(), "key");
  EXPECT_EQ(Value(std::int64_t{-3}).raw(), "-3");
  EXPECT_EQ(Value(1.0).raw(), "1.0");
}

TEST(FloatTextTest, AlwaysReadsBackAsAFloat) {
  for (double d : {0.0, 1.0, -2.5, 1e20, 1e-7, 123456789.0, 0.1}) {
    const Value value = resolve_plain(float_text(d));
    ASSERT_EQ(value.kind(), Value::Kind::kFloat) << float_text(d);
    EXPECT_EQ(value.as_double(), d);
  }
}

}  // namespace
}  // namespace qv_yaml
