#include "runtime/instance/upgrade/inventory/pep440.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <utility>

namespace runtime::instance::upgrade::inventory::pep440 {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_alnum(char c) { return is_digit(c) || (c >= 'a' && c <= 'z'); }
bool is_separator(char c) { return c == '.' || c == '-' || c == '_'; }
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char to_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

// Drops leading zeros; "000" becomes "0".
std::string canonical_number(std::string_view digits) {
  const auto first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string("0") : std::string(digits.substr(first));
}

bool is_number(const std::string& segment) { return std::all_of(segment.begin(), segment.end(), is_digit); }

std::strong_ordering compare_numbers(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return a.size() <=> b.size();
  return a.compare(b) <=> 0;
}

}  // namespace

// Recursive-descent reader of the PEP 440 grammar. Every optional part is
// taken greedily; the grammar never needs to give a taken part back.
class Parser {
 public:
  explicit Parser(std::string_view text) : text_(trim(text)) {}

  std::optional<Version> run() {
    Version version;
    take_word("v");
    auto first = take_number();
    if (!first) return std::nullopt;
    if (take_word("!")) {
      version.epoch_ = std::move(*first);
      first = take_number();
      if (!first) return std::nullopt;
    }
    version.release_.push_back(std::move(*first));
    while (peek() == '.' && is_digit(peek(1))) {
      ++pos_;
      version.release_.push_back(*take_number());
    }
    version.pre_ = take_pre();
    version.post_ = take_post();
    version.dev_ = take_labelled(std::array<std::string_view, 1>{"dev"});
    if (take_word("+") && !take_local(version.local_)) return std::nullopt;
    if (pos_ != text_.size()) return std::nullopt;
    return version;
  }

 private:
  char peek(size_t ahead = 0) const { return pos_ + ahead < text_.size() ? to_lower(text_[pos_ + ahead]) : '\0'; }

  bool take_word(std::string_view word) {
    for (size_t i = 0; i < word.size(); ++i) {
      if (peek(i) != word[i]) return false;
    }
    pos_ += word.size();
    return true;
  }

  void take_separator() {
    if (is_separator(peek())) ++pos_;
  }

  std::optional<std::string> take_number() {
    const size_t start = pos_;
    while (is_digit(peek())) ++pos_;
    if (pos_ == start) return std::nullopt;
    return canonical_number(text_.substr(start, pos_ - start));
  }

  // The first of `words` found here; longer spellings must come first.
  template <size_t N>
  std::optional<size_t> take_one_of(const std::array<std::string_view, N>& words) {
    for (size_t i = 0; i < N; ++i) {
      if (take_word(words[i])) return i;
    }
    return std::nullopt;
  }

  // [sep] label [sep] [number]; the number defaults to 0.
  template <size_t N>
  std::optional<std::string> take_labelled(const std::array<std::string_view, N>& labels, size_t* which = nullptr) {
    const size_t start = pos_;
    take_separator();
    const auto label = take_one_of(labels);
    if (!label) {
      pos_ = start;
      return std::nullopt;
    }
    if (which != nullptr) *which = *label;
    take_separator();
    return take_number().value_or("0");
  }

  std::optional<Version::PreRelease> take_pre() {
    static constexpr std::array<std::string_view, 8> labels = {"preview", "alpha", "beta", "pre", "rc", "a", "b", "c"};
    static constexpr std::array<Version::PreLabel, 8> meaning = {
        Version::PreLabel::candidate, Version::PreLabel::alpha, Version::PreLabel::beta, Version::PreLabel::candidate,
        Version::PreLabel::candidate, Version::PreLabel::alpha, Version::PreLabel::beta, Version::PreLabel::candidate};
    size_t which = 0;
    auto number = take_labelled(labels, &which);
    if (!number) return std::nullopt;
    return Version::PreRelease{meaning[which], std::move(*number)};
  }

  // "-N", or [sep] post|rev|r [sep] [N].
  std::optional<std::string> take_post() {
    if (peek() == '-' && is_digit(peek(1))) {
      ++pos_;
      return take_number();
    }
    return take_labelled(std::array<std::string_view, 3>{"post", "rev", "r"});
  }

  // Segments of [a-z0-9]+ joined by separators, stored lower-case with
  // numeric segments in canonical form.
  bool take_local(std::vector<std::string>& segments) {
    while (true) {
      const size_t start = pos_;
      while (is_alnum(peek())) ++pos_;
      if (pos_ == start) return false;
      std::string segment;
      for (size_t i = start; i < pos_; ++i) segment.push_back(to_lower(text_[i]));
      segments.push_back(is_number(segment) ? canonical_number(segment) : std::move(segment));
      if (!is_separator(peek()) || !is_alnum(peek(1))) return true;
      ++pos_;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

qv_common::Result<Version, std::string> Version::parse(std::string_view text) {
  auto version = Parser(text).run();
  if (!version) return qv_common::fail(fmt::format("invalid version: '{}'", text));
  return std::move(*version);
}

std::string Version::normalized() const {
  std::string text;
  if (epoch_ != "0") text += epoch_ + "!";
  text += fmt::format("{}", fmt::join(release_, "."));
  if (pre_) {
    static constexpr std::array<std::string_view, 3> spelling = {"a", "b", "rc"};
    text += fmt::format("{}{}", spelling[static_cast<size_t>(pre_->label)], pre_->number);
  }
  if (post_) text += ".post" + *post_;
  if (dev_) text += ".dev" + *dev_;
  if (!local_.empty()) text += fmt::format("+{}", fmt::join(local_, "."));
  return text;
}

// The comparison keys of PEP 440, one part at a time.
struct Order {
  // Release numbers with trailing zeros ignored.
  static std::strong_ordering release(const Version& a, const Version& b) {
    static const std::string zero = "0";
    const size_t length = std::max(a.release_.size(), b.release_.size());
    for (size_t i = 0; i < length; ++i) {
      const auto& x = i < a.release_.size() ? a.release_[i] : zero;
      const auto& y = i < b.release_.size() ? b.release_[i] : zero;
      if (auto order = compare_numbers(x, y); order != 0) return order;
    }
    return std::strong_ordering::equal;
  }

  // A bare development release (1.0.dev1) sorts before every pre-release of
  // its release; a version without pre-release after all of them.
  static int pre_rank(const Version& v) {
    if (!v.pre_ && !v.post_ && v.dev_) return 0;
    return v.pre_ ? 1 : 2;
  }

  static std::strong_ordering pre(const Version& a, const Version& b) {
    if (auto order = pre_rank(a) <=> pre_rank(b); order != 0 || !a.pre_) return order;
    if (auto order = a.pre_->label <=> b.pre_->label; order != 0) return order;
    return compare_numbers(a.pre_->number, b.pre_->number);
  }

  // `absent_first`: whether a version without the number sorts before one with it.
  static std::strong_ordering optional_number(const std::optional<std::string>& a, const std::optional<std::string>& b,
                                              bool absent_first) {
    if (a.has_value() != b.has_value()) {
      return (a.has_value() == absent_first) ? std::strong_ordering::greater : std::strong_ordering::less;
    }
    return a ? compare_numbers(*a, *b) : std::strong_ordering::equal;
  }

  // Numeric segments sort after alphanumeric ones.
  static std::strong_ordering local_segment(const std::string& a, const std::string& b) {
    const bool a_number = is_number(a);
    const bool b_number = is_number(b);
    if (a_number != b_number) return a_number <=> b_number;
    return a_number ? compare_numbers(a, b) : a.compare(b) <=> 0;
  }

  // No label first; otherwise segment by segment, a shorter prefix first.
  static std::strong_ordering local(const Version& a, const Version& b) {
    const size_t common = std::min(a.local_.size(), b.local_.size());
    for (size_t i = 0; i < common; ++i) {
      if (auto order = local_segment(a.local_[i], b.local_[i]); order != 0) return order;
    }
    return a.local_.size() <=> b.local_.size();
  }

  static std::strong_ordering compare(const Version& a, const Version& b) {
    if (auto order = compare_numbers(a.epoch_, b.epoch_); order != 0) return order;
    if (auto order = release(a, b); order != 0) return order;
    if (auto order = pre(a, b); order != 0) return order;
    if (auto order = optional_number(a.post_, b.post_, true); order != 0) return order;
    if (auto order = optional_number(a.dev_, b.dev_, false); order != 0) return order;
    return local(a, b);
  }
};

std::weak_ordering Version::operator<=>(const Version& other) const { return Order::compare(*this, other); }

}  // namespace runtime::instance::upgrade::inventory::pep440
