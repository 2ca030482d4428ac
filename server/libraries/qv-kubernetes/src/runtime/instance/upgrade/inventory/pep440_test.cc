#include "runtime/instance/upgrade/inventory/pep440.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace runtime::instance::upgrade::inventory::pep440 {
namespace {

Version must_parse(std::string_view text) {
  auto version = Version::parse(text);
  EXPECT_TRUE(version.has_value()) << text;
  return version ? *version : *Version::parse("0");
}

TEST(Pep440Test, NormalisesValidVersions) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1.0", "1.0"},
      {"0", "0"},
      {"00", "0"},
      {"01.02.003", "1.2.3"},
      {"1.0.0", "1.0.0"},
      {"v1.0", "1.0"},
      {"V1.0", "1.0"},
      {"  1.0\t\n", "1.0"},
      {"1!2.0", "1!2.0"},
      {"0!1.0", "1.0"},
      {"007!1", "7!1"},
      {"v1!2", "1!2"},
      {"1.0a1", "1.0a1"},
      {"1.0alpha1", "1.0a1"},
      {"1.0.a.1", "1.0a1"},
      {"1.0-a-1", "1.0a1"},
      {"1.0_a_1", "1.0a1"},
      {"1.0a-1", "1.0a1"},
      {"1.0A01", "1.0a1"},
      {"1.0a", "1.0a0"},
      {"1.0a.", "1.0a0"},
      {"1.0b2", "1.0b2"},
      {"1.0beta2", "1.0b2"},
      {"1.0c1", "1.0rc1"},
      {"1.0rc1", "1.0rc1"},
      {"1.0RC1", "1.0rc1"},
      {"1.0pre1", "1.0rc1"},
      {"1.0preview1", "1.0rc1"},
      {"1.0.post1", "1.0.post1"},
      {"1.0post1", "1.0.post1"},
      {"1.0-post-1", "1.0.post1"},
      {"1.0_post_1", "1.0.post1"},
      {"1.0-1", "1.0.post1"},
      {"1.0rev1", "1.0.post1"},
      {"1.0.r1", "1.0.post1"},
      {"1.0.post", "1.0.post0"},
      {"1.0-r", "1.0.post0"},
      {"1.0.dev1", "1.0.dev1"},
      {"1.0dev1", "1.0.dev1"},
      {"1.0-dev", "1.0.dev0"},
      {"1.0_DEV_02", "1.0.dev2"},
      {"1.0a1.post2.dev3", "1.0a1.post2.dev3"},
      {"1.0a1-2", "1.0a1.post2"},
      {"1.0a-post1", "1.0a0.post1"},
      {"1.0+abc.1", "1.0+abc.1"},
      {"1.0+ABC-1_2", "1.0+abc.1.2"},
      {"1.0+local.007", "1.0+local.7"},
      {"1.0+0", "1.0+0"},
      {"1!2.0.post1.dev3+local.7", "1!2.0.post1.dev3+local.7"},
      {"1.0RC1.POST2.DEV3+UBUNTU.1", "1.0rc1.post2.dev3+ubuntu.1"},
      {"1.123456789012345678901234567890", "1.123456789012345678901234567890"},
  };
  for (const auto& [text, normalized] : cases) {
    auto version = Version::parse(text);
    ASSERT_TRUE(version.has_value()) << "'" << text << "': " << version.error();
    EXPECT_EQ(version->normalized(), normalized) << text;
  }
}

TEST(Pep440Test, RejectsInvalidVersions) {
  const std::vector<std::string> cases = {
      "",
      " ",
      "x",
      "v",
      "1.",
      ".1",
      "1..0",
      "1.0.x",
      "1!",
      "!1",
      "1!2!3",
      "1!v2",
      "1.0 a1",
      "1.0a1a2",
      "1.0a1b",
      "1.0-",
      "1.0--1",
      "1.0.post1.post2",
      "1.0.dev1.post1",
      "1.0dev1a1",
      "1.0+",
      "1.0+abc.",
      "1.0+.abc",
      "1.0+abc+def",
      "1.0+a b",
      "1.0-+abc",
      "1.0+abc!",
      "1.0alphabeta",
      "1.0.1-x",
      "1,0",
      "1.0\x01",
      "\xc2\xa0"
      "1.0",
  };
  for (const auto& text : cases) {
    EXPECT_FALSE(Version::parse(text).has_value()) << "'" << text << "'";
  }
}

TEST(Pep440Test, ErrorNamesTheText) {
  auto version = Version::parse("1.x");
  ASSERT_FALSE(version.has_value());
  EXPECT_EQ(version.error(), "invalid version: '1.x'");
}

TEST(Pep440Test, EqualVersionsDespiteDifferentText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1.0", "1.0.0"},
      {"1", "v1.0.0.0"},
      {"1.0+ABC", "1.0+abc"},
      {"1.0+1", "1.0+01"},
      {"1.0a", "1.0a0"},
      {"1.0c1", "1.0rc1"},
      {"0!1", "1"},
      {"1.0-1", "1.0.post1"},
      {"1.0.dev", "1.0dev0"},
      {"1.0+a-b", "1.0+a.b"},
      {"1.0.0.post1", "1.0.post1"},
  };
  for (const auto& [a, b] : cases) {
    EXPECT_EQ(must_parse(a), must_parse(b)) << a << " == " << b;
    EXPECT_TRUE((must_parse(a) <=> must_parse(b)) == 0) << a << " <=> " << b;
  }
}

TEST(Pep440Test, OrdersChains) {
  const std::vector<std::vector<std::string>> chains = {
      {"1.0.dev0", "1.0a1", "1.0b2.post3", "1.0rc1", "1.0", "1.0+local", "1.0.post1.dev1", "1.0.post1", "1!0.1"},
      {"1.0.dev456", "1.0a1", "1.0a2.dev456", "1.0a12.dev456", "1.0a12", "1.0b1.dev456", "1.0b2",
       "1.0b2.post345.dev456", "1.0b2.post345", "1.0b2-346", "1.0c1.dev456", "1.0c1", "1.0rc2", "1.0c3", "1.0",
       "1.0.post456.dev34", "1.0.post456", "1.1.dev1"},
      {"1.0.dev0", "1.0.dev1", "1.0a1.dev1", "1.0a1", "1.0a1.post1.dev0", "1.0a1.post1", "1.0b0"},
      {"0.9", "1.0", "1.0.1", "1.1", "1.2.0rc1", "1.2.0", "1.9", "1.10", "2", "10", "2!0"},
      {"1.99999999999999999999", "1.100000000000000000000"},
      {"1.0", "1.0+abc", "1.0+abc.a", "1.0+abc.5", "1.0+abc.10", "1.0+b", "1.0+0", "1.0+1", "1.0+1.a", "1.0+2",
       "1.0.post0"},
      {"1.0.post1.dev1", "1.0.post1", "1.0.post2.dev0", "1.0.post2"},
      {"2.0", "1!0.1", "1!1.0.dev0", "2!0"},
  };
  for (const auto& chain : chains) {
    for (size_t i = 0; i < chain.size(); ++i) {
      for (size_t j = i + 1; j < chain.size(); ++j) {
        const auto smaller = must_parse(chain[i]);
        const auto larger = must_parse(chain[j]);
        EXPECT_TRUE(smaller < larger) << chain[i] << " < " << chain[j];
        EXPECT_TRUE(larger > smaller) << chain[j] << " > " << chain[i];
        EXPECT_FALSE(smaller == larger) << chain[i] << " != " << chain[j];
      }
    }
  }
}

}  // namespace
}  // namespace runtime::instance::upgrade::inventory::pep440
