#include "runtime/instance/upgrade/apply/render_template.h"

#include <gtest/gtest.h>

#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/apply/result_limit.h"
#include "runtime/instance/upgrade/apply/scalar_text.h"
#include "runtime/instance/upgrade/apply/searcher.h"

namespace runtime::instance::upgrade::apply {
namespace {

qv_yaml::Value yaml(std::string_view text) { return qv_yaml::parse_single(text).value(); }

class RenderTemplate : public ::testing::Test {
 protected:
  // "name" and "num" take part in the match, "other" does not.
  RenderTemplate() : regex_(Regex::compile("(?<name>[a-z]+)-(?<num>\\d+)|(?<other>!)").value()) {
    WorkBudget work;
    auto found = Searcher(regex_, work).find(subject_);
    match_ = std::move(found).value();
  }
  const Match& match() const { return *match_; }

 private:
  std::string subject_ = "web-42";
  Regex regex_;
  std::optional<Match> match_;
};

TEST_F(RenderTemplate, FillsOnlyGroupsThatTookPart) {
  const struct {
    std::string text;
    std::string rendered;
  } cases[] = {
      {"plain", "plain"},
      {"", ""},
      {"${name}", "web"},
      {"x${num}y${name}z", "x42ywebz"},
      {"${missing}", "${missing}"},
      {"${other}", "${other}"},
      {"$${name}", "$web"},
      {"$$", "$$"},
      {"$name", "$name"},
      {"${1}", "${1}"},
      {"${1abc}", "${1abc}"},
      {"${na me}", "${na me}"},
      {"${name", "${name"},
      {"${_x}", "${_x}"},
      {"${name}${name}", "webweb"},
  };
  for (const auto& c : cases) EXPECT_EQ(render_template(c.text, match(), kMaxResultBytes), c.rendered) << c.text;
}

TEST_F(RenderTemplate, StopsAtTheLimit) {
  EXPECT_EQ(render_template("${name}${name}", match(), 6), "webweb");
  EXPECT_EQ(render_template("${name}${name}", match(), 5), std::nullopt);
  EXPECT_EQ(render_template("plain", match(), 4), std::nullopt);
  // The strings of a value share one limit.
  EXPECT_EQ(render_value(yaml("['a${num}', 'b${num}']"), match(), 6), yaml("[a42, b42]"));
  EXPECT_EQ(render_value(yaml("['a${num}', 'b${num}']"), match(), 5), std::nullopt);
}

TEST_F(RenderTemplate, RendersStringsInsideValuesButNotKeysOrTags) {
  const qv_yaml::Value value = yaml("${name}: ['a${num}', 5, ~, {k: '${name}'}, !t '${name}']\nn: ${num}\n");
  const qv_yaml::Value expected = yaml("${name}: [a42, 5, ~, {k: web}, !t '${name}']\nn: '42'\n");
  EXPECT_EQ(render_value(value, match(), kMaxResultBytes), expected);
  EXPECT_EQ(render_value(yaml("7"), match(), kMaxResultBytes), yaml("7"));
}

TEST(ScalarText, GivesTheTextOfScalarsOnly) {
  const struct {
    std::string yaml;
    std::optional<std::string> text;
  } cases[] = {
      {"true", "true"},   {"false", "false"}, {"8080", "8080"},  {"-3", "-3"},   {"0x10", "16"},
      {"1.5", "1.5"},     {"abc", "abc"},     {"'12'", "12"},    {"~", std::nullopt},
      {"[a]", std::nullopt}, {"{a: 1}", std::nullopt}, {"!t x", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(scalar_text(yaml(c.yaml)), c.text) << c.yaml;
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
