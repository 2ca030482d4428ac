#include "runtime/instance/profile/utf8.h"

#include <gtest/gtest.h>

namespace runtime::instance::profile {
namespace {

TEST(Utf8, ValidityAndLossyDecoding) {
  struct Case {
    std::string_view bytes;
    bool valid;
    std::string_view lossy;
  };
  const Case cases[] = {
      {"", true, ""},
      {"plain.yaml", true, "plain.yaml"},
      {"caf\xC3\xA9", true, "caf\xC3\xA9"},
      {"\xF0\x9F\x98\x80", true, "\xF0\x9F\x98\x80"},
      {"a\xFFz", false, "a\xEF\xBF\xBDz"},
      {"\xC0\xAF", false, "\xEF\xBF\xBD\xEF\xBF\xBD"},             // overlong lead
      {"\xED\xA0\x80", false, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
      {"\xF4\x90\x80\x80", false, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xE2\x82", false, "\xEF\xBF\xBD"},  // truncated: one replacement
      {"\xE2\x82x", false, "\xEF\xBF\xBDx"},
      {"\xF0\x9F\x98", false, "\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_valid_utf8(c.bytes), c.valid) << c.bytes;
    EXPECT_EQ(lossy_utf8(c.bytes), c.lossy) << c.bytes;
  }
}

}  // namespace
}  // namespace runtime::instance::profile
