#include "qv_yaml/parse.h"

#include <gtest/gtest.h>

#include <string>

namespace qv_yaml {
namespace {

std::string error_of(std::string_view text, ParseOptions options = {}) {
  auto value = parse_single(text, options);
  return value ? std::string("<no error>") : value.error();
}

TEST(ParseTest, ReadsOneDocumentWithMarks) {
  auto value = parse_single("a:\n  b: [1, two]\n");
  ASSERT_TRUE(value) << value.error();
  const Value* b = value->as_mapping().find("a")->as_mapping().find("b");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->mark().line, 1u);
  EXPECT_EQ(b->mark().column, 5u);
  EXPECT_EQ(b->as_sequence()[1].as_string(), "two");
}

struct ErrorCase {
  std::string_view text;
  std::string_view message;
};

TEST(ParseTest, RejectsWhatIsNotExactlyOneSoundDocument) {
  const ErrorCase cases[] = {
      {"", "EOF while parsing a value"},
      {"# only a comment\n", "EOF while parsing a value"},
      {"a: 1\n---\nb: 2\n", "deserializing from YAML containing more than one document is not supported"},
      {"a: 1\na: 2\n", "duplicate entry with key \"a\" at line 2 column 1"},
      {"{1: x, 1: y}", "duplicate entry with key 1 at line 1 column 8"},
      {"a: [1, 2\n", "did not find expected ',' or ']'"},
      {"a: *nowhere\n", "unknown anchor 'nowhere' at line 1 column 4"},
      {"a: !!int x\n", "invalid value: \"x\" is not a !!int at line 1 column 4"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(error_of(c.text).find(c.message), std::string::npos) << c.text << " -> " << error_of(c.text);
  }
}

TEST(ParseTest, KeepsRepeatedKeysWhenAsked) {
  auto value = parse_single("a: 1\na: 2\n", {.reject_duplicate_keys = false});
  ASSERT_TRUE(value) << value.error();
  EXPECT_EQ(value->as_mapping().size(), 2u);
}

TEST(ParseTest, UniqueKeyCheckFindsWhatTheRejectingParseFinds) {
  for (std::string_view text : {"a: 1\nb: 2\n", "a: 1\na: 2\n", "a: {x: 1, x: 2}\na: 3\n", "a: 3\nb: {x: 1, x: 2}\na: 1\n",
                                "? {k: 1, k: 2}\n: v\n", "- {1: a, '1': b}\n- [{q: 1, q: 1}]\n", "!t {z: 1, z: 2}\n"}) {
    auto rejecting = parse_single(text);
    auto kept = parse_single(text, {.reject_duplicate_keys = false});
    ASSERT_TRUE(kept) << text;
    auto unique = check_unique_keys(*kept);
    EXPECT_EQ(static_cast<bool>(unique), static_cast<bool>(rejecting)) << text;
    if (!rejecting) {
      EXPECT_EQ(unique.error(), rejecting.error()) << text;
    }
  }
}

TEST(ParseTest, EmptyTextCanReadAsNull) {
  auto value = parse_single("# nothing\n", {.empty_is_null = true});
  ASSERT_TRUE(value) << value.error();
  EXPECT_TRUE(value->is_null());
}

TEST(ParseTest, NestingDeeperThanTheLimitIsAnError) {
  const std::string ok = std::string(kMaxDepth - 1, '[') + std::string(kMaxDepth - 1, ']');
  EXPECT_TRUE(parse_single(ok));
  const std::string deep = std::string(kMaxDepth + 1, '[') + std::string(kMaxDepth + 1, ']');
  EXPECT_NE(error_of(deep).find("recursion limit exceeded"), std::string::npos);
  std::string block;
  for (std::size_t i = 0; i < kMaxDepth + 5; ++i) block += std::string(i * 2, ' ') + "k:\n";
  EXPECT_NE(error_of(block).find("recursion limit exceeded"), std::string::npos);
}

TEST(ParseTest, AliasExpansionIsBounded) {
  std::string laughs = "a: &a [x, x, x, x, x, x, x, x, x, x]\n";
  for (char level = 'b'; level <= 'i'; ++level) {
    const char previous = static_cast<char>(level - 1);
    laughs += std::string(1, level) + ": &" + level + " [";
    for (int i = 0; i < 10; ++i) laughs += std::string(i ? ", *" : "*") + previous;
    laughs += "]\n";
  }
  EXPECT_NE(error_of(laughs).find("repetition limit exceeded"), std::string::npos);

  auto small = parse_single("base: &b {x: 1}\nuse: *b\n");
  ASSERT_TRUE(small) << small.error();
  EXPECT_EQ(*small->as_mapping().find("use"), *small->as_mapping().find("base"));
}

// Few aliases of one large scalar add few nodes but many bytes.
TEST(ParseTest, AliasExpansionIsBoundedInBytes) {
  const auto aliased = [](int aliases) {
    std::string text = "big: &b " + std::string(1'000'000, 'x') + "\nuses: [";
    for (int i = 0; i < aliases; ++i) text += i ? ", *b" : "*b";
    return text + "]\n";
  };
  // Each alias adds the scalar's million bytes and one for its node.
  auto sixteen = parse_single(aliased(16));
  ASSERT_TRUE(sixteen) << sixteen.error();
  EXPECT_EQ(sixteen->as_mapping().find("uses")->as_sequence().size(), 16u);
  EXPECT_EQ(error_of(aliased(17)),
            "repetition limit exceeded: aliases expand to more than 16777216 bytes at line 2 column 72");
  EXPECT_EQ(error_of(aliased(4000)),
            "repetition limit exceeded: aliases expand to more than 16777216 bytes at line 2 column 72");
}

TEST(ParseTest, NullsWrittenAsNothingAreToldApartFromExplicitNulls) {
  auto value = parse_single("a:\nb: ~\nc: null\nd: !!null\ne: {f: }\n");
  ASSERT_TRUE(value) << value.error();
  const Mapping& m = value->as_mapping();
  EXPECT_TRUE(m.find("a")->is_empty_null());
  EXPECT_TRUE(m.find("e")->as_mapping().find("f")->is_empty_null());
  for (const char* key : {"b", "c", "d"}) EXPECT_FALSE(m.find(key)->is_empty_null()) << key;
  for (const char* key : {"a", "b", "c", "d"}) EXPECT_EQ(*m.find(key), Value(nullptr)) << key;
  EXPECT_EQ(m.find("d")->raw(), "");
}

TEST(ParseTest, TagsResolve) {
  auto value = parse_single("a: !!str 5\nb: !local {x: 1}\nc: ! 7\nd: !!map {y: 2}\n");
  ASSERT_TRUE(value) << value.error();
  const Mapping& m = value->as_mapping();
  EXPECT_EQ(m.find("a")->as_string(), "5");
  ASSERT_TRUE(m.find("b")->is_tagged());
  EXPECT_EQ(m.find("b")->as_tagged().tag, "!local");
  EXPECT_TRUE(m.find("b")->untagged().is_mapping());
  EXPECT_EQ(m.find("c")->as_string(), "7");
  EXPECT_TRUE(m.find("d")->is_mapping());
}

}  // namespace
}  // namespace qv_yaml
