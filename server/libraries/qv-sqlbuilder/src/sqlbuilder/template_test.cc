#include "sqlbuilder/template.h"

#include <gtest/gtest.h>

#include "sqlbuilder/build_error.h"

namespace sqlbuilder {
namespace {

TEST(FormatTemplate, Placeholders) {
  struct {
    const char* pattern;
    std::vector<std::string> args;
    const char* expect;
  } cases[] = {
      {"no placeholder", {}, "no placeholder"},
      {"{} and {}", {"a", "b"}, "a and b"},
      {"CREATE POLICY project_isolation ON {} USING ({}) WITH CHECK ({1})",
       {"groups", "project_id = x"},
       "CREATE POLICY project_isolation ON groups USING (project_id = x) WITH CHECK (project_id = x)"},
      // A numbered placeholder does not move the counter of bare ones.
      {"(OLD.{}, NEW.{0})", {"status"}, "(OLD.status, NEW.status)"},
      {"{1} {} {0} {}", {"a", "b"}, "b a a b"},
      {"{0}_fn {2} {1}", {"n", "t", "k"}, "n_fn k t"},
      {"{10}", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}, "ten"},
      {"COALESCE(jsonb_object_agg({}, {}), '{{}}'::jsonb)",
       {"k", "v"},
       "COALESCE(jsonb_object_agg(k, v), '{}'::jsonb)"},
      {"{{{}}}", {"x"}, "{x}"},
      {"unused {}", {"a", "b"}, "unused a"},
      {"{}", {""}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(format_template(c.pattern, c.args), c.expect);
  }
}

TEST(FormatTemplate, DefectsAreBuildErrors) {
  struct {
    const char* pattern;
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {"{} {}", {"a"}, "Template \"{} {}\": missing argument 1"},
      {"{2}", {"a", "b"}, "Template \"{2}\": missing argument 2"},
      {"a { b", {"x"}, "Template \"a { b\": unclosed brace"},
      {"a } b", {}, "Template \"a } b\": lone closing brace"},
      {"{x}", {"a"}, "Template \"{x}\": bad placeholder"},
      {"{-1}", {"a"}, "Template \"{-1}\": bad placeholder"},
      {"{99999999999999999999999}", {"a"}, "Template \"{99999999999999999999999}\": bad placeholder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    try {
      format_template(c.pattern, c.args);
      ADD_FAILURE() << "no error";
    } catch (const BuildError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace sqlbuilder
