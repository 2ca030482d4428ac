#include "utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace qv_server::utf8 {
namespace {

struct Case {
  std::string text;
  bool valid;
};

TEST(Utf8, AcceptsWellFormedAndRejectsMalformedSequences) {
  const Case cases[] = {
      {"", true},
      {"plain ascii", true},
      {"\xC3\xA9t\xC3\xA9", true},     // é
      {"\xE2\x82\xAC", true},          // €
      {"\xF0\x9F\x98\x80", true},      // emoji
      {"\xF4\x8F\xBF\xBF", true},      // U+10FFFF
      {std::string("a\0b", 3), true},  // NUL is a character
      {"\xFF", false},                 // never a lead byte
      {"\x80", false},                 // lone continuation
      {"\xC3", false},                 // truncated
      {"\xC0\xAF", false},             // overlong "/"
      {"\xE0\x80\xAF", false},         // overlong, three bytes
      {"\xED\xA0\x80", false},         // surrogate U+D800
      {"\xF4\x90\x80\x80", false},     // past U+10FFFF
      {"\xE2\x82\x41", false},         // bad third byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_valid(c.text), c.valid) << c.text;
  }
}

}  // namespace
}  // namespace qv_server::utf8
