#include <fmt/format.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/instance/upgrade/apply/boundary.h"
#include "runtime/instance/upgrade/apply/compile_pattern.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"

namespace runtime::instance::upgrade::apply {
namespace {

// The expansion template: the context groups around `replacement`, which is
// taken literally.
std::string replacement_template(const spec::ModifyTextIf& op) {
  std::string out = op.before ? "${before}" : "";
  for (const char c : op.replacement) out += c == '$' ? "$$" : std::string(1, c);
  if (op.after) out += "${after}";
  return out;
}

// The text of the context groups is written back around the replacement, so
// each must lie inside the replaced span. \K can move the start of a match
// past a context group's start; that text would then be written twice.
std::optional<std::string> context_outside_match(const spec::ModifyTextIf& op, const Match& match) {
  const std::pair<std::string_view, bool> groups[] = {{"before", op.before.has_value()},
                                                      {"after", op.after.has_value()}};
  for (const auto& [name, given] : groups) {
    const auto span = match.named_span(name);
    if (given && span && span->first < match.start()) {
      return fmt::format("\\K moved the start of a match past the start of the {} group", name);
    }
  }
  return std::nullopt;
}

}  // namespace

// Replaces every match of the pattern, between its optional context
// patterns, in the raw text; the context text stays.
Changed replace_kind(const spec::ModifyTextIf& op, WorkingText& text) {
  const std::string_view version = text.version();
  const std::string_view entry = text.entry();
  const std::string expression = boundary("before", op.before) + op.pattern + boundary("after", op.after);
  QV_ASSIGN_OR_RETURN(const Regex* regex, compile_pattern(text, expression));
  QV_ASSIGN_OR_RETURN(const std::string* current, text.text());
  auto matches = regex->find_all(*current);
  if (!matches) return qv_common::fail(pattern_failed(version, entry, expression, std::move(matches).error()));
  if (matches->empty()) return false;
  for (const Match& match : *matches) {
    if (auto cause = context_outside_match(op, match)) {
      return qv_common::fail(pattern_failed(version, entry, expression, std::move(*cause)));
    }
  }
  const std::string pattern = replacement_template(op);
  std::string out;
  std::size_t copied = 0;
  for (const Match& match : *matches) {
    out.append(*current, copied, match.start() - copied);
    out += Regex::expand(match, pattern);
    copied = match.end();
  }
  out.append(*current, copied);
  text.set_text(std::move(out));
  return true;
}

}  // namespace runtime::instance::upgrade::apply
