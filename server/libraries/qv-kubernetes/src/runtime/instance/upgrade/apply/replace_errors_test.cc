#include <gtest/gtest.h>

#include "core/system/exit.h"
#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {
namespace {

using spec::Operation;

qv_yaml::Value yaml(std::string_view text) { return qv_yaml::parse_single(text).value(); }

struct Failure {
  std::string code;
  std::string message;
};

Failure failure(const Operation& op, std::string_view text) {
  auto result = op.replace("1.2.0", "configs/app.yaml", std::string(text));
  if (result) return {"no failure", result->text};
  const auto& source = result.error().source;
  if (!source) return {"no source", ""};
  return {source->code, source->qv_error.message()};
}

TEST(ReplaceErrors, TextThatIsNotOneDocumentFailsToParse) {
  const Operation operations[] = {
      {spec::ModifyLeafValueIf{"a", {}, {}}},      {spec::InsertSiblingIfExisting{"a", "b", {}}},
      {spec::InsertChildIfMissing{"a", "b", {}}},  {spec::NestChildrenIfFlat{"a", "b"}},
      {spec::DeriveItemIfMissing{"a", "x", "y"}},  {spec::DeriveSiblingIfExisting{"a", "x", "y", {}}},
      {spec::RemoveLeafIf{"a"}},
  };
  for (const Operation& op : operations) {
    for (const std::string_view text : {"a: [\n", "a: 1\n---\nb: 2\n", "a: 1\na: 2\n"}) {
      const Failure f = failure(op, text);
      EXPECT_EQ(f.code, "UpgradeError::5349") << text;
      EXPECT_EQ(f.message.rfind("Could not parse 'configs/app.yaml' while upgrading to '1.2.0': ", 0), 0u)
          << f.message;
    }
  }
  const Failure multi = failure(operations[0], "a: 1\n---\nb: 2\n");
  EXPECT_EQ(multi.message,
            "Could not parse 'configs/app.yaml' while upgrading to '1.2.0': deserializing from YAML containing more "
            "than one document is not supported.");
}

TEST(ReplaceErrors, DocumentThatCannotBeWrittenFailsToRender) {
  const qv_yaml::Value nested(qv_yaml::Tagged{"!a", qv_yaml::Value(qv_yaml::Tagged{"!b", qv_yaml::Value(1)})});
  const Failure f = failure({spec::ModifyLeafValueIf{"a", yaml("1"), nested}}, "a: 1\n");
  EXPECT_EQ(f.code, "UpgradeError::5350");
  EXPECT_EQ(f.message, "Could not render 'configs/app.yaml' while upgrading to '1.2.0': a tagged value cannot hold "
                       "another tagged value.");
}

// A leaf of `segments` segments: a.a.a...
std::string leaf_of(std::size_t segments) {
  std::string leaf = "a";
  for (std::size_t i = 1; i < segments; ++i) leaf += ".a";
  return leaf;
}

TEST(ReplaceErrors, PathsDeeperThanADocumentCanBeNestedAreRefusedWhenCreated) {
  const std::string refused = "Could not render 'configs/app.yaml' while upgrading to '1.2.0': recursion limit "
                              "exceeded: nesting deeper than 128 levels.";
  const Failure deepest = failure({spec::InsertChildIfMissing{leaf_of(127), "c", {}}}, "");
  EXPECT_EQ(deepest.code, "no failure");
  for (std::size_t segments : {std::size_t{128}, std::size_t{100000}}) {
    const Failure f = failure({spec::InsertChildIfMissing{leaf_of(segments), "c", {}}}, "");
    EXPECT_EQ(f.code, "UpgradeError::5350") << segments;
    EXPECT_EQ(f.message, refused) << segments;
  }
  // A walk that stops at a scalar creates nothing and changes nothing.
  EXPECT_EQ(failure({spec::InsertChildIfMissing{leaf_of(1000), "c", {}}}, "a: 5\n").message, "a: 5\n");
  // A value that nests too deep cannot be written either.
  const Failure nested = failure({spec::InsertChildIfMissing{leaf_of(127), "c", yaml("{d: 1}")}}, "");
  EXPECT_EQ(nested.code, "UpgradeError::5350");
  EXPECT_EQ(nested.message, refused);
}

TEST(ReplaceErrors, PatternThatDoesNotCompile) {
  const struct {
    std::string name;
    Operation op;
    std::string text;
    std::string message;
  } cases[] = {
      {"derive item, before the text is parsed", {spec::DeriveItemIfMissing{"a", "(", "x"}}, "a: [",
       "The pattern '(' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: missing closing parenthesis "
       "at offset 1."},
      {"derive sibling, before the text is parsed", {spec::DeriveSiblingIfExisting{"a", "[", "x", {}}}, "a: [",
       "The pattern '[' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: missing terminating ] for "
       "character class at offset 1."},
      {"modify text names the built expression", {spec::ModifyTextIf{"(", "r", "b", "a"}}, "",
       "The pattern '(?<before>b)((?<after>a)' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: "
       "missing closing parenthesis at offset 24."},
      {"derive item with a single byte", {spec::DeriveItemIfMissing{"a", "a\\C", "x"}}, "a: [ab]\n",
       "The pattern 'a\\C' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: using \\C is disabled by the "
       "application at offset 3."},
      {"modify text with a single byte", {spec::ModifyTextIf{"\\C", "r", {}, {}}}, "\xC3\xBC",
       "The pattern '\\C' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: using \\C is disabled by the "
       "application at offset 2."},
      {"modify text with a group named like a boundary", {spec::ModifyTextIf{"(?<before>x)", "r", "b", {}}}, "",
       "The pattern '(?<before>b)(?<before>x)' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: two "
       "named subpatterns have the same name (PCRE2_DUPNAMES not set) at offset 22."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Failure f = failure(c.op, c.text);
    EXPECT_EQ(f.code, "UpgradeError::5352");
    EXPECT_EQ(f.message, c.message);
  }
}

TEST(ReplaceErrors, MatchThatStartsAfterItsContextBeginsIsRefused) {
  const struct {
    std::string name;
    spec::ModifyTextIf op;
    std::string text;
    std::string message;
  } cases[] = {
      {"at the end of before", {"\\Kv", "w", "k: ", {}}, "k: v\n",
       "The pattern '(?<before>k: )\\Kv' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: \\K moved the "
       "start of a match past the start of the before group."},
      {"inside the pattern", {": \\Kv", "w", "k", {}}, "k: v\n",
       "The pattern '(?<before>k): \\Kv' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: \\K moved the "
       "start of a match past the start of the before group."},
      {"inside after", {"v1", "v2", {}, "-\\Kbeta"}, "v1-beta\n",
       "The pattern 'v1(?<after>-\\Kbeta)' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: \\K moved "
       "the start of a match past the start of the after group."},
      {"in a later match only", {"(?:x|\\d\\K)", "0", "v", {}}, "vx\nv1\n",
       "The pattern '(?<before>v)(?:x|\\d\\K)' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: \\K moved "
       "the start of a match past the start of the before group."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Failure f = failure({c.op}, c.text);
    EXPECT_EQ(f.code, "UpgradeError::5352");
    EXPECT_EQ(f.message, c.message);
  }
}

TEST(ReplaceErrors, RunawayBacktrackingEndsAsAnInvalidPattern) {
  const std::string subject = std::string(64, 'a') + "b";
  const struct {
    std::string name;
    Operation op;
    std::string text;
    std::string pattern;
  } cases[] = {
      {"modify text", {spec::ModifyTextIf{"(a+)+$", "r", {}, {}}}, subject, "(a+)+$"},
      {"derive item", {spec::DeriveItemIfMissing{"l", "(a+)+$", "x"}}, "l: [" + subject + "]\n", "(a+)+$"},
      {"derive sibling", {spec::DeriveSiblingIfExisting{"l", "(a+)+$", "x", {}}}, "l: " + subject + "\n",
       "(a+)+$"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Failure f = failure(c.op, c.text);
    EXPECT_EQ(f.code, "UpgradeError::5352");
    EXPECT_EQ(f.message, "The pattern '" + c.pattern +
                             "' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: match limit exceeded.");
  }
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
