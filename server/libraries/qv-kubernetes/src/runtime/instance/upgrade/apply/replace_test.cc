#include <gtest/gtest.h>

#include "core/system/exit.h"
#include "qv_yaml/emit.h"
#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {
namespace {

using spec::Operation;
using spec::Placement;
using spec::Scope;

qv_yaml::Value yaml(std::string_view text) { return qv_yaml::parse_single(text).value(); }

struct Case {
  std::string name;
  Operation op;
  std::string input;
  bool changed;
  // The document the result must read back as, in the same order; unused
  // when unchanged, where the result must be the input byte for byte.
  std::string expected;
};

void run(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = c.op.replace("1.2.0", "configs/app.yaml", c.input);
    ASSERT_TRUE(result) << result.error().debug();
    EXPECT_EQ(result->changed, c.changed);
    if (!c.changed) {
      EXPECT_EQ(result->text, c.input);
      continue;
    }
    const qv_yaml::Value expected = yaml(c.expected);
    EXPECT_EQ(yaml(result->text), expected) << result->text;
    // The emitted text shows the order of mapping entries, which equality ignores.
    EXPECT_EQ(result->text, qv_yaml::emit(expected).value());
    EXPECT_EQ(result->text.find('#'), std::string::npos) << "comments are dropped";
  }
}

Operation leaf_value(std::string leaf, std::string_view from, std::string_view to) {
  return {spec::ModifyLeafValueIf{std::move(leaf), yaml(from), yaml(to)}};
}

Operation sibling(std::string leaf, std::string key, std::string_view value, Placement placement,
                  Scope scope = Scope::kAddressed) {
  return {spec::InsertSiblingIfExisting{std::move(leaf), std::move(key), yaml(value), placement, scope}};
}

Operation child(std::string leaf, std::string key, std::string_view value) {
  return {spec::InsertChildIfMissing{std::move(leaf), std::move(key), yaml(value)}};
}

Operation nest(std::string leaf, std::string under) { return {spec::NestChildrenIfFlat{std::move(leaf), std::move(under)}}; }

Operation derive_item(std::string leaf, std::string pattern, std::string item) {
  return {spec::DeriveItemIfMissing{std::move(leaf), std::move(pattern), std::move(item)}};
}

Operation derive_sibling(std::string leaf, std::string pattern, std::string key, std::string_view value,
                         Placement placement = Placement::kAfter) {
  return {spec::DeriveSiblingIfExisting{std::move(leaf), std::move(pattern), std::move(key), yaml(value), placement}};
}

Operation remove(std::string leaf) { return {spec::RemoveLeafIf{std::move(leaf)}}; }

TEST(ModifyLeafValueIf, ReplacesEqualValues) {
  run({
      {"number matches", leaf_value("spec.replicas", "1", "3"), "spec:\n  replicas: 1 # one\n", true,
       "spec: {replicas: 3}"},
      {"quoted string does not match a number", leaf_value("spec.replicas", "1", "3"),
       "spec:\n  replicas: '1' # one\n", false, ""},
      {"to equal to from still changes", leaf_value("a", "x", "x"), "# head\na:   x\n", true, "a: x"},
      {"absent key never matches null", leaf_value("a.b", "~", "1"), "a: {} # c\n", false, ""},
      {"present null matches null", leaf_value("a.b", "~", "1"), "a: {b: ~}\n", true, "a: {b: 1}"},
      {"walk looks through tags", leaf_value("a.b", "1", "2"), "a: !t {b: 1}\n", true, "a: !t {b: 2}"},
      {"leaf itself is not looked through", leaf_value("a", "1", "2"), "a: !t 1 # c\n", false, ""},
      {"numeric key is not a segment", leaf_value("ports.8080", "x", "y"), "ports: {8080: x} # c\n", false, ""},
      {"quoted segment holds a full stop", leaf_value(R"("a.b".c)", "1", "2"), "a.b: {c: 1}\na: {b: {c: 1}}\n",
       true, "a.b: {c: 2}\na: {b: {c: 1}}"},
      {"no index into sequences", leaf_value("a.0", "1", "2"), "a: [1] # c\n", false, ""},
      {"mapping value compares regardless of order", leaf_value("a", "{y: 2, x: 1}", "[z]"), "a: {x: 1, y: 2}\n",
       true, "a: [z]"},
      {"empty file", leaf_value("a", "~", "1"), "", false, ""},
      {"comment-only file", leaf_value("a", "~", "1"), "# nothing\n", false, ""},
  });
}

TEST(InsertSiblingIfExisting, InsertsBesideTheAnchor) {
  run({
      {"before", sibling("b", "x", "9", Placement::kBefore), "a: 1\nb: 2\nc: 3\n", true, "{a: 1, x: 9, b: 2, c: 3}"},
      {"after", sibling("b", "x", "9", Placement::kAfter), "a: 1\nb: 2\nc: 3\n", true, "{a: 1, b: 2, x: 9, c: 3}"},
      {"anchor last", sibling("c", "x", "[1]", Placement::kAfter), "a: 1\nc: 3\n", true, "{a: 1, c: 3, x: [1]}"},
      {"sibling present", sibling("b", "x", "9", Placement::kAfter), "b: 2\nx: 0 # c\n", false, ""},
      {"anchor absent", sibling("b", "x", "9", Placement::kAfter), "a: 1 # c\n", false, ""},
      {"addressed path", sibling("spec.b", "x", "'${v}'", Placement::kAfter), "spec: {b: 1}\nb: 1\n", true,
       "spec: {b: 1, x: '${v}'}\nb: 1"},
      {"parent looked through on the way", sibling("m.spec.b", "x", "1", Placement::kAfter),
       "m: !t {spec: {b: 1}}\n", true, "m: !t {spec: {b: 1, x: 1}}"},
      {"tagged mapping at the end", sibling("spec.b", "x", "1", Placement::kAfter), "spec: !t {b: 1} # c\n", false,
       ""},
      {"parent missing", sibling("nope.b", "x", "1", Placement::kAfter), "b: 1 # c\n", false, ""},
      {"empty file", sibling("b", "x", "1", Placement::kAfter), "", false, ""},
  });
}

TEST(InsertSiblingIfExisting, EverywhereVisitsEveryMapping) {
  const auto everywhere = [](std::string_view value) {
    return sibling("ignored.path.b", "x", value, Placement::kAfter, Scope::kEverywhere);
  };
  run({
      {"nested and in sequences", everywhere("9"),
       "b: 1\nlist:\n- {b: 2}\n- {b: 3, x: 0}\n- [{a: 1, b: 4}]\nm: {n: {b: 5}}\n", true,
       "{b: 1, x: 9, list: [{b: 2, x: 9}, {b: 3, x: 0}, [{a: 1, b: 4, x: 9}]], m: {n: {b: 5, x: 9}}}"},
      {"tagged nodes are not descended into", everywhere("9"), "t: !k {b: 1}\nu: {b: 2}\n", true,
       "t: !k {b: 1}\nu: {b: 2, x: 9}"},
      {"no anchor anywhere", everywhere("9"), "a: [{c: 1}] # c\n", false, ""},
      {"inserted value holding the anchor is not revisited", everywhere("{b: 1}"), "b: 0\n", true,
       "{b: 0, x: {b: 1}}"},
      {"an existing sibling's value is visited", everywhere("9"), "b: 0\nx: {b: 1}\n", true,
       "{b: 0, x: {b: 1, x: 9}}"},
  });
}

TEST(InsertChildIfMissing, CreatesThePathWithTheChild) {
  run({
      {"null leaf becomes a mapping", child("a", "c", "1"), "a: ~\n", true, "a: {c: 1}"},
      {"appended at the end", child("a", "c", "[x]"), "a: {z: 1, b: 2}\n", true, "a: {z: 1, b: 2, c: [x]}"},
      {"empty file receives the whole path", child("a.b", "c", "1"), "", true, "a: {b: {c: 1}}"},
      {"missing keys are appended", child("a.b", "c", "1"), "a: {x: 1}\n", true, "a: {x: 1, b: {c: 1}}"},
      {"tagged null loses its tag", child("a", "c", "1"), "a: !t ~\n", true, "a: {c: 1}"},
      {"scalar on the way", child("a.b", "c", "1"), "a: 5 # c\n", false, ""},
      {"scalar leaf", child("a", "c", "1"), "a: 5 # c\n", false, ""},
      {"tagged mapping leaf", child("a", "c", "1"), "a: !t {x: 1} # c\n", false, ""},
      {"tagged mapping on the way", child("a.b", "c", "1"), "a: !t {b: {}} # c\n", false, ""},
      {"child present", child("a", "c", "1"), "a: {c: ~} # c\n", false, ""},
      {"sequence root", child("a", "c", "1"), "- 1 # c\n", false, ""},
  });
}

TEST(NestChildrenIfFlat, NestsFlatMappings) {
  run({
      {"flat mapping", nest("spec", "z"), "spec: {x: 1, y: true}\n", true, "spec: {z: {x: 1, y: true}}"},
      {"tagged scalars and nulls are flat", nest("spec", "z"), "spec: {x: ~, y: !t s}\n", true,
       "spec: {z: {x: ~, y: !t s}}"},
      {"root mapping", nest("", "z"), "'': {a: 1}\n", true, "'': {z: {a: 1}}"},
      {"nested mapping", nest("spec", "z"), "spec: {x: {y: 1}} # c\n", false, ""},
      {"nested sequence", nest("spec", "z"), "spec: {x: [1]} # c\n", false, ""},
      {"tagged nested value", nest("spec", "z"), "spec: {x: !t {y: 1}} # c\n", false, ""},
      {"empty mapping", nest("spec", "z"), "spec: {} # c\n", false, ""},
      {"tagged mapping leaf", nest("spec", "z"), "spec: !t {x: 1} # c\n", false, ""},
      {"scalar leaf", nest("spec", "z"), "spec: 1 # c\n", false, ""},
      {"empty file", nest("spec", "z"), "", false, ""},
  });
}

TEST(DeriveItemIfMissing, AddsDerivedItems) {
  const Operation digit = derive_item("list", R"(-(?<n>\d))", "x${n}");
  run({
      {"after each source", digit, "list: [a-1, b-2]\n", true, "list: [a-1, x1, b-2, x2]"},
      {"applied again", digit, "list: [a-1, x1, b-2, x2] # c\n", false, ""},
      {"equal item anywhere", digit, "list: [x1, a-1]\n", false, ""},
      {"same derived item once, after the later source", digit, "list: [a-1, b-1]\n", true, "list: [a-1, b-1, x1]"},
      {"unknown group copied", derive_item("list", "a", "${missing}"), "list: [a]\n", true,
       "list: [a, '${missing}']"},
      {"derived string differs from a number", derive_item("ports", R"((?<p>\d+))", "${p}"), "ports: [8080]\n", true,
       "ports: [8080, '8080']"},
      {"booleans have text", derive_item("l", "^true$", "yes"), "l: [true]\n", true, "l: [true, 'yes']"},
      {"non-scalar items skipped", digit, "list: [{k: a-1}, [b-2], ~, !t c-3, d-4]\n", true,
       "list: [{k: a-1}, [b-2], ~, !t c-3, d-4, x4]"},
      {"no match", digit, "list: [a, b] # c\n", false, ""},
      {"tagged sequence", digit, "list: !t [a-1] # c\n", false, ""},
      {"not a sequence", digit, "list: a-1 # c\n", false, ""},
      {"empty file", digit, "", false, ""},
  });
}

TEST(DeriveSiblingIfExisting, AddsTheRenderedSibling) {
  const Operation tag = derive_sibling("spec.image", ":(?<tag>[^:]+)$", "tag", "v${tag}");
  run({
      {"after the anchor", tag, "spec: {image: 'app:1.2', pull: x}\n", true,
       "spec: {image: 'app:1.2', tag: v1.2, pull: x}"},
      {"before the anchor", derive_sibling("spec.image", ":(?<tag>.+)$", "tag", "v${tag}", Placement::kBefore),
       "spec: {a: 1, image: 'app:1.2'}\n", true, "spec: {a: 1, tag: v1.2, image: 'app:1.2'}"},
      {"value rendered deeply, keys kept", derive_sibling("p", R"((?<n>\d+))", "s", "{'${n}': ['${n}', 1]}"),
       "p: 80\n", true, "{p: 80, s: {'${n}': ['80', 1]}}"},
      {"sibling present", tag, "spec: {image: 'app:1', tag: old} # c\n", false, ""},
      {"anchor absent", tag, "spec: {other: 'app:1'} # c\n", false, ""},
      {"anchor value a mapping", tag, "spec: {image: {a: 'app:1'}} # c\n", false, ""},
      {"anchor value a sequence", tag, "spec: {image: ['app:1']} # c\n", false, ""},
      {"anchor value tagged", tag, "spec: {image: !t 'app:1'} # c\n", false, ""},
      {"no match", tag, "spec: {image: app} # c\n", false, ""},
      {"tagged parent", tag, "spec: !t {image: 'app:1'} # c\n", false, ""},
      {"empty file", tag, "", false, ""},
  });
}

TEST(RemoveLeafIf, RemovesTheKey) {
  run({
      {"last entry takes the place", remove("m.b"), "m: {a: 1, b: 2, c: 3, d: 4}\n", true, "m: {a: 1, d: 4, c: 3}"},
      {"last entry removed", remove("m.d"), "m: {a: 1, d: 4}\n", true, "m: {a: 1}"},
      {"whatever the value", remove("a"), "a: {deep: [1]}\nb: 2\n", true, "b: 2"},
      {"absent key", remove("m.x"), "m: {a: 1} # c\n", false, ""},
      {"tagged parent", remove("m.a"), "m: !t {a: 1} # c\n", false, ""},
      {"parent a scalar", remove("m.a"), "m: 1 # c\n", false, ""},
      {"empty file", remove("a"), "", false, ""},
  });
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
