#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(Utf8Test, ReplacesMaximalInvalidParts) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"plain", "plain"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"a\xFF"
       "b",
       "a" + kReplacement + "b"},
      {"\x80\x80", kReplacement + kReplacement},
      {"\xC0\xAF", kReplacement + kReplacement},                                        // overlong
      {"\xE2\x82", kReplacement},                                                       // truncated at the end
      {"\xE2\x82x", kReplacement + "x"},                                                // truncated before ASCII
      {"\xED\xA0\x80", kReplacement + kReplacement + kReplacement},                     // surrogate
      {"\xF4\x90\x80\x80", kReplacement + kReplacement + kReplacement + kReplacement},  // above U+10FFFF
      {"\xF0\x9F\x98", kReplacement},
      {"\xF0\x9F\x98\xC3\xA9", kReplacement + "\xC3\xA9"},
      {"\xF5", kReplacement},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(lossy_utf8(bytes), text);
    EXPECT_EQ(is_valid_utf8(bytes), bytes == text);
  }
}

}  // namespace
}  // namespace platform
