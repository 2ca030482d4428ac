#include "qv_yaml/key_index.h"

#include <gtest/gtest.h>

#include <string>

#include "qv_yaml/parse.h"

namespace qv_yaml {
namespace {

Value parse(std::string_view text) {
  auto value = parse_single(text, {.reject_duplicate_keys = false});
  EXPECT_TRUE(value) << value.error();
  return value ? *value : Value();
}

// A flow mapping of `count` keys k0, k1, ... in the given order.
std::string mapping_text(int count, bool reversed, std::string_view extra = "") {
  std::string text = "{";
  for (int i = 0; i < count; ++i) {
    const int key = reversed ? count - 1 - i : i;
    text += "k" + std::to_string(key) + ": " + std::to_string(key) + ", ";
  }
  return text + std::string(extra) + "}";
}

TEST(KeyIndexTest, EqualValuesHashAlike) {
  const std::pair<std::string_view, std::string_view> equal[] = {
      {"{a: 1, b: [x, {c: d}]}", "{b: [x, {c: d}], a: 1}"},
      {"0x10", "16"},
      {".nan", ".NaN"},
      {"0.0", "-0.0"},
      {"!t {a: 1, b: 2}", "!t {b: 2, a: 1}"},
  };
  for (const auto& [left, right] : equal) {
    ASSERT_EQ(parse(left), parse(right)) << left;
    EXPECT_EQ(hash_of(parse(left)), hash_of(parse(right))) << left;
  }
}

TEST(KeyIndexTest, LargeMappingsCompareAndRejectRepeatsLikeSmallOnes) {
  for (int count : {3, 15, 16, 17, 2000}) {
    EXPECT_EQ(parse(mapping_text(count, false)), parse(mapping_text(count, true))) << count;
    EXPECT_NE(parse(mapping_text(count, false)), parse(mapping_text(count, true, "extra: 1"))) << count;

    auto repeated = parse_single(mapping_text(count, false, "k0: again"));
    ASSERT_FALSE(repeated) << count;
    EXPECT_NE(repeated.error().find("duplicate entry with key \"k0\""), std::string::npos) << repeated.error();

    const Value kept = parse(mapping_text(count, false, "k1: again"));
    auto unique = check_unique_keys(kept);
    ASSERT_FALSE(unique) << count;
    EXPECT_NE(unique.error().find("duplicate entry with key \"k1\""), std::string::npos) << unique.error();
    EXPECT_TRUE(parse_single(mapping_text(count, true)));
  }
}

TEST(KeyIndexTest, FindsOnlyTheEntriesTakenIn) {
  const Value value = parse(mapping_text(40, false));
  const Mapping& mapping = value.as_mapping();
  KeyIndex keys;
  for (int i = 0; i < 20; ++i) keys.add_next(mapping);
  EXPECT_EQ(keys.find(mapping, Value("k19")), std::optional<std::size_t>(19));
  EXPECT_EQ(keys.find(mapping, Value("k20")), std::nullopt);
  EXPECT_EQ(keys.find(mapping, Value(std::uint64_t{1})), std::nullopt);
}

}  // namespace
}  // namespace qv_yaml
