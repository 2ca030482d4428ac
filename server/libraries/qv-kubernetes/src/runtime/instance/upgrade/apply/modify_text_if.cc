#include <fmt/format.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/instance/upgrade/apply/boundary.h"
#include "runtime/instance/upgrade/apply/compile_pattern.h"
#include "runtime/instance/upgrade/apply/replace_kind.h"
#include "runtime/instance/upgrade/apply/result_limit.h"
#include "runtime/instance/upgrade/apply/searcher.h"

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
    if (!given) continue;
    const auto span = match.named_span(name);
    if (span && span->first < match.start()) {
      return fmt::format("\\K moved the start of a match past the start of the {} group", name);
    }
  }
  return std::nullopt;
}

}  // namespace

// Replaces every match of the pattern, between its optional context
// patterns, in the raw text; the context text stays. The matches are found
// and replaced one at a time, so the work holds the text, the result so far
// and one match; the result may not pass `kMaxResultBytes`.
Changed replace_kind(const spec::ModifyTextIf& op, WorkingText& text) {
  const std::string_view version = text.version();
  const std::string_view entry = text.entry();
  const std::string expression = boundary("before", op.before) + op.pattern + boundary("after", op.after);
  QV_ASSIGN_OR_RETURN(const Regex* regex, compile_pattern(text, expression));
  QV_ASSIGN_OR_RETURN(const std::string* current, text.text());
  // Without context groups the expansion is the replacement itself.
  const bool literal = !op.before && !op.after;
  const std::string pattern = replacement_template(op);
  Searcher searcher(*regex, text.work());
  MatchCursor matches(searcher, *current);
  std::string out;
  std::size_t copied = 0;
  bool found_any = false;
  for (;;) {
    auto match = matches.next();
    if (!match) return qv_common::fail(pattern_failed(version, entry, expression, std::move(match).error()));
    if (*match == nullptr) break;
    if (auto cause = context_outside_match(op, **match)) {
      return qv_common::fail(pattern_failed(version, entry, expression, std::move(*cause)));
    }
    found_any = true;
    out.append(*current, copied, (*match)->start() - copied);
    if (literal) {
      out += op.replacement;
    } else {
      out += Regex::expand(**match, pattern);
    }
    copied = (*match)->end();
    if (out.size() > kMaxResultBytes) return qv_common::fail(result_too_large(version, entry));
  }
  if (!found_any) return false;
  out.append(*current, copied);
  if (out.size() > kMaxResultBytes) return qv_common::fail(result_too_large(version, entry));
  text.set_text(std::move(out));
  return true;
}

}  // namespace runtime::instance::upgrade::apply
