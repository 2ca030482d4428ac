#include "qv_yaml/emit.h"

#include <gtest/gtest.h>

#include <random>

#include "qv_yaml/parse.h"

namespace qv_yaml {
namespace {

// Random values over every kind, with strings chosen to stress quoting.
class ValueGenerator {
 public:
  explicit ValueGenerator(unsigned seed) : random_(seed) {}

  Value value(int depth) {
    const int kind = pick(depth > 0 ? 10 : 6);
    switch (kind) {
      case 0: return Value(nullptr);
      case 1: return Value(pick(2) == 1);
      case 2: return Value(static_cast<std::int64_t>(random_()) - std::int64_t{1} * (1 << 30) * 2);
      case 3: return Value(static_cast<double>(pick(100000)) / 64.0 - 500.0);
      case 4:
      case 5: return Value(string());
      case 6:
      case 7: {
        Sequence items;
        for (int i = pick(4); i > 0; --i) items.push_back(value(depth - 1));
        return Value(std::move(items));
      }
      case 8: {
        Mapping entries;
        for (int i = pick(5); i > 0; --i) entries.insert(key(depth - 1), value(depth - 1));
        return Value(std::move(entries));
      }
      default: return Value(Tagged{"!t" + std::to_string(pick(3)), value(0)});
    }
  }

 private:
  int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  Value key(int depth) { return pick(8) == 0 ? value(depth) : Value(string()); }

  std::string string() {
    static const char* const kPieces[] = {"a",   "true", "null", "~",  "123", "0x1F", "1.5", "-", "#",  ": ",
                                          " ",   "'",    "\"",   "\n", "\t",  "é",    "{",   "}", "[x]", "&a",
                                          "*a",  "!",    "%",    "@",  "`",   ",",    "?",   "|", ">",  "---",
                                          "...", "\\",   "  ",   "\r", "ü\n"};
    std::string text;
    for (int i = pick(4); i > 0; --i) text += kPieces[pick(std::size(kPieces))];
    return text;
  }

  std::mt19937 random_;
};

TEST(EmitTest, WhatIsWrittenReadsBackAsTheSameValue) {
  ValueGenerator generator(20261210);
  for (int round = 0; round < 3000; ++round) {
    const Value value = generator.value(4);
    auto text = emit(value);
    ASSERT_TRUE(text) << text.error();
    auto back = parse_single(*text);
    ASSERT_TRUE(back) << back.error() << "\n" << *text;
    ASSERT_EQ(*back, value) << *text;
  }
}

TEST(EmitTest, WritesBlockStyleInOrderWithoutMarkers) {
  auto value = parse_single("{b: 1, a: [x, {c: 'true'}], e: {}, s: [], m: \"l1\\nl2\\n\"}");
  ASSERT_TRUE(value) << value.error();
  auto text = emit(*value);
  ASSERT_TRUE(text) << text.error();
  EXPECT_EQ(*text,
            "b: 1\n"
            "a:\n"
            "- x\n"
            "- c: 'true'\n"
            "e: {}\n"
            "s: []\n"
            "m: |\n"
            "  l1\n"
            "  l2\n");
}

TEST(EmitTest, RefusesNestingThatCouldNotBeReadBack) {
  auto nest = [](std::size_t levels) {
    Value value("leaf");
    for (std::size_t i = 0; i < levels; ++i) value = Value(Sequence{std::move(value)});
    return value;
  };
  auto deepest = emit(nest(kMaxDepth));
  ASSERT_TRUE(deepest) << deepest.error();
  EXPECT_TRUE(parse_single(*deepest));
  auto deeper = emit(nest(kMaxDepth + 1));
  ASSERT_FALSE(deeper);
  EXPECT_EQ(deeper.error(), "recursion limit exceeded: nesting deeper than 128 levels");
}

TEST(EmitTest, ScalarsOnTheirOwn) {
  EXPECT_EQ(*emit(Value(nullptr)), "null\n");
  EXPECT_EQ(*emit(Value("")), "''\n");
  EXPECT_EQ(*emit(Value(2.0)), "2.0\n");
}

}  // namespace
}  // namespace qv_yaml
