#include <gtest/gtest.h>

#include "core/system/exit.h"
#include "runtime/instance/upgrade/apply/boundary.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {
namespace {

using spec::ModifyTextIf;
using spec::Operation;

TEST(Boundary, WrapsTheExpressionInANamedGroup) {
  EXPECT_EQ(boundary("before", std::string("a+")), "(?<before>a+)");
  EXPECT_EQ(boundary("after", std::string()), "(?<after>)");
  EXPECT_EQ(boundary("before", std::nullopt), "");
}

TEST(ModifyTextIf, ReplacesMatchesInTheRawText) {
  const struct {
    std::string name;
    ModifyTextIf op;
    std::string input;
    bool changed;
    std::string output;
  } cases[] = {
      {"every match", {"old", "new", {}, {}}, "a: old # old\nb: [old]\n", true, "a: new # new\nb: [new]\n"},
      {"dollar inserted literally", {"old", "a$b", {}, {}}, "x: old\n", true, "x: a$b\n"},
      {"group syntax inserted literally", {"(?<g>o)ld", "$$ ${g} $1", {}, {}}, "old", true, "$$ ${g} $1"},
      {"before stays in front", {R"(\d+)", "2", "image: app:", {}}, "image: app:1 # keep\nother: app:1\n", true,
       "image: app:2 # keep\nother: app:1\n"},
      {"after stays behind", {"v1", "v2", {}, "-beta"}, "v1 v1-beta v1\n", true, "v1 v2-beta v1\n"},
      {"before and after with dollars", {"x", "$y", "<", ">"}, "<x> x <x>", true, "<$y> x <$y>"},
      {"empty before always matches", {"a", "b", "", {}}, "aa", true, "bb"},
      {"no match", {"absent", "new", {}, {}}, "a: old # c\n", false, "a: old # c\n"},
      {"context without the pattern", {"x", "y", "<", {}}, "x <z", false, "x <z"},
      {"same text still changes", {"old", "old", {}, {}}, "a: old # c\n", true, "a: old # c\n"},
      {"empty matches advance by character", {"x*", "-", {}, {}}, "\xC3\xBC" "x\xC3\xBC", true,
       "-\xC3\xBC-\xC3\xBC-"},
      {"empty match after a match is skipped", {"a*", "-", {}, {}}, "baaab", true, "-b-b-"},
      {"empty text matched by an empty pattern", {"^$", "a: 1", {}, {}}, "", true, "a: 1"},
      {"empty text not matched", {"a", "b", {}, {}}, "", false, ""},
      {"multi-line mode only on request", {"(?m)^k", "K", {}, {}}, "k: 1\nk: 2\n", true, "K: 1\nK: 2\n"},
      {"default is single-line", {"^k", "K", {}, {}}, "k: 1\nk: 2\n", true, "K: 1\nk: 2\n"},
      {"dollar is not before a final newline", {"2$", "3", {}, {}}, "a: 2\n", false, "a: 2\n"},
      {"dollar is the end of the text", {"2$", "3", {}, {}}, "a: 2\nb: 2", true, "a: 2\nb: 3"},
      {"multi-line dollar on request", {"(?m)2$", "3", {}, {}}, "a: 2\nb: 2\n", true, "a: 3\nb: 3\n"},
      {"match start moved without context", {"k: \\Kv", "w", {}, {}}, "k: v\n", true, "k: w\n"},
      {"text need not be YAML", {"\\[", "(", {}, {}}, "a: [\n", true, "a: (\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = Operation{c.op}.replace("1.2.0", "configs/app.yaml", c.input);
    ASSERT_TRUE(result) << result.error().debug();
    EXPECT_EQ(result->changed, c.changed);
    EXPECT_EQ(result->text, c.output);
  }
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
