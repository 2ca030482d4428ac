#pragma once
// The placeholder rule of hand-written SQL templates: a bare "{}" takes the
// next argument; "{N}" repeats argument N and does not move the counter of
// bare placeholders. So "USING ({}) WITH CHECK ({1})" takes two arguments and
// writes the second twice. "{{" and "}}" write a literal brace
// ("'{{}}'::jsonb" gives "'{}'::jsonb"). A missing argument or a lone brace is
// a defect of the template: BuildError.

#include <string>
#include <string_view>
#include <vector>

namespace sqlbuilder {

std::string format_template(std::string_view pattern, const std::vector<std::string>& args);

}  // namespace sqlbuilder
