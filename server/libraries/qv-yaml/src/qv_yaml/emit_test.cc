#include "qv_yaml/emit.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "qv_yaml/block_writer.h"
#include "qv_yaml/library_writer.h"
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

// The direct writer must write every document it takes exactly as the
// library's emitter does, and take the common ones.
void expect_written_as_the_library_writes(const Value& value, std::size_t& taken) {
  const auto direct = write_block(value);
  if (!direct) return;
  ++taken;
  auto library = write_with_library(value);
  ASSERT_TRUE(library) << library.error();
  ASSERT_EQ(*direct, *library);
}

TEST(EmitTest, DirectWriterWritesWhatTheLibraryWrites) {
  ValueGenerator generator(20261212);
  std::size_t taken = 0;
  for (int round = 0; round < 20000; ++round) {
    const Value value = generator.value(4);
    ASSERT_NO_FATAL_FAILURE(expect_written_as_the_library_writes(value, taken));
    Mapping keyed;
    keyed.insert(Value("k"), value);
    ASSERT_NO_FATAL_FAILURE(expect_written_as_the_library_writes(Value(std::move(keyed)), taken));
    ASSERT_NO_FATAL_FAILURE(expect_written_as_the_library_writes(Value(Sequence{value, Value("x")}), taken));
  }
  EXPECT_GT(taken, 10000u);
}

TEST(EmitTest, DirectWriterWritesAsciiTextsAsTheLibraryWrites) {
  static const char* const kPieces[] = {"a", "1",  " ", "  ", "\n", "#",   ":",   ": ", "-", "- ", "?", "'",
                                        "\"", "---", "...", "{", "[", ",",   "|",   ">",  "%", "@",  "`", "&",
                                        "*", "!",  "~", "true", "\\", "\n\n", " \n", "\n "};
  std::mt19937 random(20261213);
  std::size_t taken = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 5); i > 0; --i) text += kPieces[random() % std::size(kPieces)];
    Mapping entries;
    entries.insert(Value(text), Value(text));
    entries.insert(Value("items"), Value(Sequence{Value(text), Value(Sequence{Value(text)})}));
    ASSERT_NO_FATAL_FAILURE(expect_written_as_the_library_writes(Value(std::move(entries)), taken));
  }
  EXPECT_GT(taken, 5000u);
}

TEST(EmitTest, DirectWriterTakesEveryDocumentOfTheCommonShapes) {
  for (std::string_view text : {
           "a: 1\nb: [x, 'y z', {c: null}]\nd: {e: {f: -2.5}}\n",
           "- {}\n- []\n- - a\n  - b\n- k: v\n  l: [1, 2]\n",
           "image: 'registry.local/app:1.0'\nport: '8080'\nlabels: {app: web, tier: back-end}\n",
           "text: |\n  two\n  lines\nindented: \"  a\\nb\\n\"\nopen: \"a\\nb\"\n",
       }) {
    auto value = parse_single(text);
    ASSERT_TRUE(value) << value.error();
    auto direct = write_block(*value);
    ASSERT_TRUE(direct) << text;
    EXPECT_EQ(*direct, *write_with_library(*value)) << text;
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

struct RewriteCase {
  std::string_view text;
  std::string_view written;
};

// Reads `text`, writes it, and reads the written text back as the same value.
void expect_rewritten(const RewriteCase& c) {
  SCOPED_TRACE(c.text);
  auto value = parse_single(c.text);
  ASSERT_TRUE(value) << value.error();
  auto text = emit(*value);
  ASSERT_TRUE(text) << text.error();
  EXPECT_EQ(*text, c.written);
  auto back = parse_single(*text);
  ASSERT_TRUE(back) << back.error();
  EXPECT_EQ(*back, *value);
}

TEST(EmitTest, TagsAreWrittenAsTheyWereRead) {
  const RewriteCase cases[] = {
      {"b: !!binary aGVsbG8=\n", "b: !!binary aGVsbG8=\n"},
      {"s: !!set {a, b}\n", "s: !!set\n  a: null\n  b: null\n"},
      {"t: !!timestamp 2001-12-14\n", "t: !!timestamp '2001-12-14'\n"},
      {"o: !!omap [{a: 1}, {b: 2}]\n", "o: !!omap\n- a: 1\n- b: 2\n"},
      {"v: !<tag:yaml.org,2002:binary> aGk=\n", "v: !!binary aGk=\n"},
      {"l: !local x\n", "l: !local x\n"},
      {"e: !<tag:example.com,2000:app/x> z\n", "e: !<tag:example.com,2000:app/x> z\n"},
      {"? !!binary aGk=\n: !!set {x}\n", "!!binary aGk=: !!set\n  x: null\n"},
  };
  for (const auto& c : cases) expect_rewritten(c);
}

TEST(EmitTest, ExplicitCoreTagsDecideTheKindThatIsWritten) {
  const RewriteCase cases[] = {
      {"a: !!float 1\n", "a: 1.0\n"},     {"a: !!float -3\n", "a: -3.0\n"},
      {"a: !!float '2'\n", "a: 2.0\n"},   {"a: !!float 1.5\n", "a: 1.5\n"},
      {"a: !!str 1\n", "a: '1'\n"},       {"a: !!str true\n", "a: 'true'\n"},
      {"a: !!int \"1\"\n", "a: 1\n"},    {"a: !!bool 'false'\n", "a: false\n"},
      {"a: !!null ''\n", "a: null\n"},
  };
  for (const auto& c : cases) expect_rewritten(c);
}

// Whether a YAML 1.1 reader takes a plain scalar for something other than a
// string: the expressions of its types (booleans, null, integers, floats,
// timestamps, merge and value keys), with floats of one decimal point and
// blanks allowed before any time zone, as its readers apply them.
bool yaml11_reader_resolves(const std::string& text) {
  static const std::regex kTypes(
      "y|Y|yes|Yes|YES|n|N|no|No|NO|true|True|TRUE|false|False|FALSE|on|On|ON|off|Off|OFF"
      "|~|null|Null|NULL|"
      "|[-+]?0b[0-1_]+|[-+]?0[0-7_]+|[-+]?(0|[1-9][0-9_]*)|[-+]?0x[0-9a-fA-F_]+|[-+]?[1-9][0-9_]*(:[0-5]?[0-9])+"
      "|[-+]?([0-9][0-9_]*)?\\.[0-9_]*([eE][-+][0-9]+)?|[-+]?[0-9][0-9_]*(:[0-5]?[0-9])+\\.[0-9_]*"
      "|[-+]?\\.(inf|Inf|INF)|\\.(nan|NaN|NAN)"
      "|[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]"
      "|[0-9][0-9][0-9][0-9]-[0-9][0-9]?-[0-9][0-9]?([Tt]|[ \\t]+)[0-9][0-9]?:[0-9][0-9]:[0-9][0-9](\\.[0-9]*)?"
      "([ \\t]*(Z|[-+][0-9][0-9]?(:[0-9][0-9])?))?"
      "|<<|=");
  return std::regex_match(text, kTypes);
}

// A string written on its own and read back; it must come back unchanged,
// and quoted when a YAML 1.1 reader would take it for another kind.
void expect_quoted_for_yaml11(const std::string& text) {
  SCOPED_TRACE(text);
  Mapping keyed;
  keyed.insert(Value(text), Value(1));
  const Value documents[] = {Value(text), Value(std::move(keyed)), Value(Sequence{Value(text)})};
  for (const Value& value : documents) {
    auto written = emit(value);
    ASSERT_TRUE(written) << written.error();
    auto back = parse_single(*written);
    ASSERT_TRUE(back) << back.error() << "\n" << *written;
    EXPECT_EQ(*back, value) << *written;
    if (!yaml11_reader_resolves(text)) continue;
    const std::size_t start = value.is_sequence() ? 2 : 0;
    ASSERT_GT(written->size(), start);
    EXPECT_TRUE((*written)[start] == '\'' || (*written)[start] == '"') << *written;
  }
}

TEST(EmitTest, QuotesStringsThatYaml11ReadersTakeForOtherKinds) {
  const std::string named[] = {
      "on",     "off",   "yes",     "no",       "y",          "n",          "Y",          "N",
      "On",     "OFF",   "Yes",     "NO",       "1_000",      "+1_000",     "0b101",      "-0b1",
      "0x_1F",  "-0x1F", "017",     "-0_7",     "1:20",       "-1:20:30",   "1:20.5",     "1_000.5",
      "._5",    ".",     "+.5",     "1.",       ".inf",       "-.Inf",      "+.INF",      ".NaN",
      "2001-12-14",     "2001-12-14t21:59:43.10-05:00",       "2001-12-14 21:59:43.10 -5", "2001-12-15T02:59:43.1Z",
      "2002-1-2 1:02:03", "<<",   "=",       "~",          "Null",       "",           "FALSE",
  };
  for (const std::string& text : named) {
    ASSERT_TRUE(yaml11_reader_resolves(text)) << text;
    expect_quoted_for_yaml11(text);
  }
}

TEST(EmitTest, StringsOfYaml11LookingPiecesReadBackAndAreQuotedWhereNeeded) {
  static const char* const kPieces[] = {"0",  "1",   "5",   "9",   "_",  ".",   ":",   "-",   "+",   "e",
                                        "E",  "x",   "b",   "o",   "T",  " ",   "Z",   "2001", "-12", "-1",
                                        "12", ":30", ":5",  "inf", "nan", "Inf", "y",   "n",   "on",  "No",
                                        "yes", "true", "null", "~",  "<",  "=",   "a",   "\t"};
  std::mt19937 random(20261211);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 5); i >= 0; --i) text += kPieces[random() % std::size(kPieces)];
    expect_quoted_for_yaml11(text);
  }
}

TEST(EmitTest, StringsThatEveryReaderTakesAsStringsStayPlain) {
  for (std::string_view text : {"0.9.0", "1.2.3", "8080:80", "1:60", "a", "nginx:1.2", "yes please", "0x", "_1",
                                "2001-12", "ony", "nope"}) {
    EXPECT_EQ(*emit(Value(text)), std::string(text) + "\n");
  }
}

// Both writers stop at the limit: a document of the common shapes and one
// that only the library's emitter writes.
TEST(EmitTest, ATextLongerThanTheLimitIsRefusedNamingIt) {
  for (const std::string_view text : {"a: [x, 'y z']\nb: |\n  one\n  two\n", "a: !t [x]\nb: \"\\u00e9\"\n"}) {
    SCOPED_TRACE(text);
    const Value value = parse_single(text).value();
    const std::string written = emit(value).value();
    EXPECT_EQ(emit(value, written.size()).value(), written);
    auto shorter = emit(value, written.size() - 1);
    ASSERT_FALSE(shorter);
    EXPECT_EQ(shorter.error(),
              "size limit exceeded: the text would be longer than " + std::to_string(written.size() - 1) + " bytes");
  }
}

TEST(EmitTest, ScalarsOnTheirOwn) {
  EXPECT_EQ(*emit(Value(nullptr)), "null\n");
  EXPECT_EQ(*emit(Value("")), "''\n");
  EXPECT_EQ(*emit(Value(2.0)), "2.0\n");
}

}  // namespace
}  // namespace qv_yaml
