#include "runtime/instance/upgrade/apply/regex.h"

#include <array>

#include <fmt/format.h>

namespace runtime::instance::upgrade::apply {
namespace {

// Without multi-line mode "$" is the end of the text only, not also the place
// before a final newline. \C matches a single byte and could cut a UTF-8
// character in half, so it is refused. Automatic callouts before every item
// let a search count its steps.
constexpr std::uint32_t kCompileOptions =
    PCRE2_UTF | PCRE2_UCP | PCRE2_DOLLAR_ENDONLY | PCRE2_NEVER_BACKSLASH_C | PCRE2_AUTO_CALLOUT;

// The frame bytes that cost one more step: a frame copies its groups on
// every step that backtracking may return to.
constexpr std::size_t kFrameBytesPerStep = 256;

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

std::uint64_t step_weight(const pcre2_code* code) {
  std::size_t frame = 0;
  pcre2_pattern_info(code, PCRE2_INFO_FRAMESIZE, &frame);
  return 1 + frame / kFrameBytesPerStep;
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

std::string Regex::message(int code) {
  std::array<PCRE2_UCHAR, 256> buffer{};
  if (pcre2_get_error_message(code, buffer.data(), buffer.size()) < 0) return fmt::format("error {}", code);
  return std::string(reinterpret_cast<const char*>(buffer.data()));
}

Regex::Regex(std::unique_ptr<pcre2_code, CodeDeleter> code, std::shared_ptr<const GroupNames> names)
    : code_(std::move(code)), names_(std::move(names)), step_weight_(step_weight(code_.get())) {}

qv_common::Result<Regex, std::string> Regex::compile(std::string_view pattern) {
  int code = 0;
  PCRE2_SIZE offset = 0;
  std::unique_ptr<pcre2_code, CodeDeleter> compiled(
      pcre2_compile(code_units(pattern), pattern.size(), kCompileOptions, &code, &offset, nullptr));
  if (!compiled) return qv_common::fail(fmt::format("{} at offset {}", message(code), offset));
  auto names = std::make_shared<const GroupNames>(group_names(compiled.get()));
  return Regex(std::move(compiled), std::move(names));
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
