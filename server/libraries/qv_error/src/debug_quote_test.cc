#include "debug_quote.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv_error {
namespace {

struct Case {
  std::string input;
  std::string expected;
};

TEST(DebugQuoteTest, QuotesAndEscapes) {
  const std::vector<Case> cases = {
      {"", R"("")"},
      {"plain text", R"("plain text")"},
      {"say \"hi\"", R"("say \"hi\"")"},
      {"a\\b", R"("a\\b")"},
      {"l1\nl2\r\tx", R"("l1\nl2\r\tx")"},
      {"it's", R"("it's")"},
      {std::string("nul\0end", 7), R"("nul\u{0}end")"},
      {"\x1b[0m\x7f", R"("\u{1b}[0m\u{7f}")"},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
      {"\xc2\x85", R"("\u{85}")"},                      // C1 control
      {"a\xe2\x80\x8b" "b", R"("a\u{200b}b")"},          // zero-width space
      {"\xe2\x80\xae" "x", R"("\u{202e}x")"},            // right-to-left override
      {"\xff" "a", R"("\xffa")"},                        // not UTF-8
      {"\xc3", R"("\xc3")"},                             // truncated sequence
      {"\xc0\xaf", R"("\xc0\xaf")"},                     // overlong encoding
      {"\xed\xa0\x80", R"("\xed\xa0\x80")"},             // surrogate
      {"\xf4\x90\x80\x80", R"("\xf4\x90\x80\x80")"},     // above U+10FFFF
  };
  for (const Case& c : cases) {
    EXPECT_EQ(debug_quote(c.input), c.expected) << c.expected;
  }
}

}  // namespace
}  // namespace qv_error
