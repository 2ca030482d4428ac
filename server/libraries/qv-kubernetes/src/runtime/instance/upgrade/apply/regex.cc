#include "runtime/instance/upgrade/apply/regex.h"

#include <array>

#include <fmt/format.h>

namespace runtime::instance::upgrade::apply {
namespace {

// Bounds on one search: far above what a sound pattern needs on a file, low
// enough that runaway backtracking stops within a fraction of a second. The
// depth bound lets a repeated group span a whole large file.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kDepthLimit = 1'000'000;

// Without multi-line mode "$" is the end of the text only, not also the place
// before a final newline. \C matches a single byte and could cut a UTF-8
// character in half, so it is refused.
constexpr std::uint32_t kCompileOptions = PCRE2_UTF | PCRE2_UCP | PCRE2_DOLLAR_ENDONLY | PCRE2_NEVER_BACKSLASH_C;

std::string error_message(int code) {
  std::array<PCRE2_UCHAR, 256> buffer{};
  if (pcre2_get_error_message(code, buffer.data(), buffer.size()) < 0) return fmt::format("error {}", code);
  return std::string(reinterpret_cast<const char*>(buffer.data()));
}

PCRE2_SPTR code_units(std::string_view text) { return reinterpret_cast<PCRE2_SPTR>(text.data()); }

GroupNames group_names(const pcre2_code* code) {
  std::uint32_t count = 0;
  std::uint32_t entry_size = 0;
  PCRE2_SPTR table = nullptr;
  pcre2_pattern_info(code, PCRE2_INFO_NAMECOUNT, &count);
  pcre2_pattern_info(code, PCRE2_INFO_NAMEENTRYSIZE, &entry_size);
  pcre2_pattern_info(code, PCRE2_INFO_NAMETABLE, &table);
  GroupNames names;
  for (std::uint32_t i = 0; i < count; ++i) {
    PCRE2_SPTR entry = table + static_cast<std::size_t>(i) * entry_size;
    // Each entry holds the group number in two bytes, then the name ending in NUL.
    const auto number = static_cast<std::uint32_t>((entry[0] << 8) | entry[1]);
    names.push_back({std::string(reinterpret_cast<const char*>(entry + 2)), number});
  }
  return names;
}

// The position just past the UTF-8 character that starts at `at`.
std::size_t next_character(std::string_view text, std::size_t at) {
  ++at;
  while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  return at;
}

}  // namespace

std::optional<std::string_view> Match::group(std::size_t number) const {
  if (number >= groups_.size() || !groups_[number]) return std::nullopt;
  const auto [first, last] = *groups_[number];
  return subject_.substr(first, last - first);
}

std::optional<std::string_view> Match::named(std::string_view name) const {
  const auto span = named_span(name);
  if (!span) return std::nullopt;
  return subject_.substr(span->first, span->second - span->first);
}

std::optional<Match::Span> Match::named_span(std::string_view name) const {
  for (const GroupName& entry : *names_) {
    if (entry.name != name) continue;
    if (entry.number < groups_.size() && groups_[entry.number]) return groups_[entry.number];
  }
  return std::nullopt;
}

Regex::Regex(std::unique_ptr<pcre2_code, CodeDeleter> code, std::shared_ptr<const GroupNames> names)
    : code_(std::move(code)),
      names_(std::move(names)),
      context_(pcre2_match_context_create(nullptr)),
      data_(pcre2_match_data_create_from_pattern(code_.get(), nullptr)) {
  pcre2_set_match_limit(context_.get(), kMatchLimit);
  pcre2_set_depth_limit(context_.get(), kDepthLimit);
}

qv_common::Result<Regex, std::string> Regex::compile(std::string_view pattern) {
  int code = 0;
  PCRE2_SIZE offset = 0;
  std::unique_ptr<pcre2_code, CodeDeleter> compiled(
      pcre2_compile(code_units(pattern), pattern.size(), kCompileOptions, &code, &offset, nullptr));
  if (!compiled) return qv_common::fail(fmt::format("{} at offset {}", error_message(code), offset));
  auto names = std::make_shared<const GroupNames>(group_names(compiled.get()));
  return Regex(std::move(compiled), std::move(names));
}

qv_common::Result<std::optional<Match>, std::string> Regex::find(std::string_view subject,
                                                                 std::size_t from) const {
  return search(subject, from, 0);
}

qv_common::Result<std::optional<Match>, std::string> Regex::search(std::string_view subject, std::size_t from,
                                                                   std::uint32_t options) const {
  const int rc =
      pcre2_match(code_.get(), code_units(subject), subject.size(), from, options, data_.get(), context_.get());
  if (rc == PCRE2_ERROR_NOMATCH) return std::optional<Match>();
  if (rc < 0) return qv_common::fail(error_message(rc));
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data_.get());
  std::vector<std::optional<Match::Span>> groups(pcre2_get_ovector_count(data_.get()));
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (ovector[2 * i] != PCRE2_UNSET) groups[i] = Match::Span{ovector[2 * i], ovector[2 * i + 1]};
  }
  return std::optional<Match>(Match(subject, std::move(groups), names_));
}

qv_common::Result<std::vector<Match>, std::string> Regex::find_all(std::string_view subject) const {
  std::vector<Match> matches;
  std::size_t from = 0;
  std::optional<std::size_t> last_end;
  // The subject's UTF-8 is checked by the first search only: checking it
  // again at every match would make the whole search quadratic.
  std::uint32_t options = 0;
  while (from <= subject.size()) {
    QV_ASSIGN_OR_RETURN(std::optional<Match> found, search(subject, from, options));
    options = PCRE2_NO_UTF_CHECK;
    if (!found) break;
    const bool empty = found->start() == found->end();
    if (empty && found->end() == last_end) {
      if (found->end() >= subject.size()) break;
      from = next_character(subject, found->end());
      continue;
    }
    last_end = found->end();
    from = empty ? next_character(subject, found->end()) : found->end();
    matches.push_back(std::move(*found));
  }
  return matches;
}

std::string Regex::expand(const Match& match, std::string_view replacement) {
  std::string out;
  std::size_t at = 0;
  while (at < replacement.size()) {
    const char c = replacement[at];
    if (c == '$' && at + 1 < replacement.size() && replacement[at + 1] == '$') {
      out += '$';
      at += 2;
      continue;
    }
    if (c == '$' && at + 1 < replacement.size() && replacement[at + 1] == '{') {
      const std::size_t close = replacement.find('}', at + 2);
      if (close != std::string_view::npos && close > at + 2) {
        out += match.named(replacement.substr(at + 2, close - at - 2)).value_or("");
        at = close + 1;
        continue;
      }
    }
    out += c;
    ++at;
  }
  return out;
}

}  // namespace runtime::instance::upgrade::apply
