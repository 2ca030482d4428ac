#include "qv_yaml/block_writer.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "qv_yaml/emit_rules.h"
#include "qv_yaml/parse.h"

// The emitter's layout rules, as its settings here make them: two spaces of
// indentation, no line width, block collections, and flow style only for
// empty collections.
namespace qv_yaml {
namespace {

constexpr int kIndent = 2;
// The longest key the emitter writes as a simple key ("key: value").
constexpr std::size_t kMaxSimpleKey = 128;

// Where a node stands, which decides how it is written.
enum class Place { kRoot, kItem, kKey, kValue };

enum class Style { kPlain, kSingleQuoted, kLiteral };

// The styles the emitter allows for a text, as far as it depends on the text.
struct Allowed {
  bool plain = false;
  bool single_quoted = false;
  bool literal = false;
  bool multiline = false;
};

bool blank_or_end(std::string_view text, std::size_t at) {
  return at >= text.size() || text[at] == ' ' || text[at] == '\n';
}

// What the emitter finds in a text, for texts of printable ASCII and line
// breaks; none for any other text. A plain text may not start with an
// indicator or a document marker, hold ": " or " #", begin or end with a
// blank, or span lines; quoted and literal forms may not hold a blank next
// to a line break, and a literal may not end with a space.
std::optional<Allowed> allowed_for(std::string_view text) {
  if (text.empty()) return Allowed{.plain = true, .single_quoted = true};
  const char first = text.front();
  bool indicator = text.starts_with("---") || text.starts_with("...") ||
                   std::string_view("#,[]{}&*!|>'\"%@`").find(first) != std::string_view::npos ||
                   ((first == '?' || first == '-') && blank_or_end(text, 1));
  bool line_break = false;
  bool space_then_break = false;
  bool break_then_space = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    // Letters, digits and the other marks matter only at the start.
    if (c > ' ' && c <= '~' && c != ':' && c != '#') continue;
    const bool after_blank = at == 0 || text[at - 1] == ' ' || text[at - 1] == '\n';
    switch (c) {
      case ':': indicator = indicator || blank_or_end(text, at + 1); break;
      case '#': indicator = indicator || after_blank; break;
      case ' ': break_then_space = break_then_space || (at > 0 && text[at - 1] == '\n'); break;
      case '\n':
        line_break = true;
        space_then_break = space_then_break || (at > 0 && text[at - 1] == ' ');
        break;
      default: return std::nullopt;
    }
  }
  const bool blank_edge = blank_or_end(text, 0) || blank_or_end(text, text.size() - 1);
  return Allowed{
      .plain = !(indicator || line_break || blank_edge),
      .single_quoted = !(space_then_break || break_then_space),
      .literal = !(space_then_break || text.back() == ' '),
      .multiline = line_break,
  };
}

Style asked_style(StringStyle style) {
  switch (style) {
    case StringStyle::kSingleQuoted: return Style::kSingleQuoted;
    case StringStyle::kLiteral: return Style::kLiteral;
    case StringStyle::kAny: break;
  }
  return Style::kPlain;
}

// The style the emitter writes a text in when asked for `asked`; none when
// it would choose double quotes.
std::optional<Style> chosen_style(std::string_view text, const Allowed& allowed, Style asked, bool key) {
  Style style = asked;
  if (style == Style::kPlain && (!allowed.plain || (key && text.empty()))) style = Style::kSingleQuoted;
  if (style == Style::kSingleQuoted && (!allowed.single_quoted || allowed.multiline)) return std::nullopt;
  if (style == Style::kLiteral && (!allowed.literal || key)) return std::nullopt;
  return style;
}

// The writer keeps the emitter's state: the column, the indentation, and
// whether the text so far ends in white space or in indentation only.
class BlockWriter {
 public:
  explicit BlockWriter(std::size_t max_bytes) : max_bytes_(max_bytes) {}

  std::optional<std::string> write(const Value& document) {
    const bool collection = (document.is_mapping() && !document.as_mapping().empty()) ||
                            (document.is_sequence() && !document.as_sequence().empty());
    if (!collection) return std::nullopt;
    // Room for a small document, which saves the first regrowths.
    out_.reserve(512);
    if (!node(document, Place::kRoot, 0)) return std::nullopt;
    write_indent();
    if (too_long()) return std::nullopt;
    return std::move(out_);
  }

 private:
  bool node(const Value& value, Place place, std::size_t depth) {
    if (too_long()) return false;
    switch (value.kind()) {
      case Value::Kind::kString: return scalar(value.as_string(), asked_style(string_style(value.as_string())), place);
      case Value::Kind::kSequence:
        if (place == Place::kKey || depth >= kMaxDepth) return false;
        return value.as_sequence().empty() ? empty_collection("[", "]") : sequence(value.as_sequence(), place, depth);
      case Value::Kind::kMapping:
        if (place == Place::kKey || depth >= kMaxDepth) return false;
        return value.as_mapping().empty() ? empty_collection("{", "}") : mapping(value.as_mapping(), depth);
      case Value::Kind::kTagged: return false;
      default: return scalar(canonical_text(value), Style::kPlain, place);
    }
  }

  // A sequence that is a mapping value starts at the mapping's indentation.
  bool sequence(const Sequence& items, Place place, std::size_t depth) {
    const int outer = indent_;
    increase_indent(false, (place == Place::kKey || place == Place::kValue) && !indention_);
    for (const Value& item : items) {
      write_indent();
      indicator("-", true, false, true);
      if (!node(item, Place::kItem, depth + 1)) return false;
    }
    indent_ = outer;
    return true;
  }

  bool mapping(const Mapping& entries, std::size_t depth) {
    const int outer = indent_;
    increase_indent(false, false);
    for (const auto& [key, value] : entries) {
      write_indent();
      if (!node(key, Place::kKey, depth + 1)) return false;
      indicator(":", false, false, false);
      if (!node(value, Place::kValue, depth + 1)) return false;
    }
    indent_ = outer;
    return true;
  }

  bool empty_collection(std::string_view open, std::string_view close) {
    indicator(open, true, true, false);
    indicator(close, false, false, false);
    return true;
  }

  // A key is written as a simple key, one line of at most 128 characters;
  // the emitter writes any other key after a "?".
  bool scalar(std::string_view text, Style asked, Place place) {
    const bool key = place == Place::kKey;
    const auto allowed = allowed_for(text);
    if (!allowed || (key && (allowed->multiline || text.size() > kMaxSimpleKey))) return false;
    const auto style = chosen_style(text, *allowed, asked, key);
    if (!style) return false;
    const int outer = indent_;
    increase_indent(true, false);
    bool written = true;
    switch (*style) {
      case Style::kPlain: plain(text); break;
      case Style::kSingleQuoted: single_quoted(text); break;
      case Style::kLiteral: written = literal(text); break;
    }
    indent_ = outer;
    return written;
  }

  void plain(std::string_view text) {
    if (!whitespace_ && !text.empty()) put(' ');
    append(text);
    whitespace_ = false;
    indention_ = false;
  }

  void single_quoted(std::string_view text) {
    indicator("'", true, false, false);
    for (const char c : text) {
      if (c == '\'') put('\'');
      put(c);
    }
    indicator("'", false, false, false);
  }

  // "|", then "2" when the text starts with a blank, and "-" when it does not
  // end with a line break. A text that ends with more than one line break
  // needs "+" and an end marker after the document: that is left to the
  // emitter.
  bool literal(std::string_view text) {
    const bool ends_with_break = text.back() == '\n';
    if (ends_with_break && (text.size() == 1 || text[text.size() - 2] == '\n')) return false;
    indicator("|", true, false, false);
    if (text.front() == ' ' || text.front() == '\n') indicator("2", false, false, false);
    if (!ends_with_break) indicator("-", false, false, false);
    put_break();
    indention_ = true;
    whitespace_ = true;
    // Each line indented, empty lines left empty.
    for (std::size_t start = 0; start < text.size();) {
      // Each line takes the indentation again, so a long text can grow far.
      if (too_long()) return false;
      const std::size_t end = std::min(text.find('\n', start), text.size());
      if (end > start) {
        write_indent();
        append(text.substr(start, end - start));
        indention_ = false;
      }
      if (end < text.size()) {
        put_break();
        indention_ = true;
      }
      start = end + 1;
    }
    return true;
  }

  // Checked at each node and each line of a literal: a text stops growing
  // soon after it passes the limit.
  bool too_long() const { return out_.size() > max_bytes_; }

  void increase_indent(bool flow, bool indentless) {
    if (indent_ < 0) {
      indent_ = flow ? kIndent : 0;
    } else if (!indentless) {
      indent_ += kIndent;
    }
  }

  // A new line unless the text already stands at the indentation, then the
  // indentation.
  void write_indent() {
    const int indent = std::max(indent_, 0);
    if (!indention_ || column_ > indent || (column_ == indent && !whitespace_)) put_break();
    while (column_ < indent) put(' ');
    whitespace_ = true;
    indention_ = true;
  }

  void indicator(std::string_view text, bool need_whitespace, bool is_whitespace, bool is_indention) {
    if (need_whitespace && !whitespace_) put(' ');
    append(text);
    whitespace_ = is_whitespace;
    indention_ = indention_ && is_indention;
  }

  void put(char c) {
    out_ += c;
    ++column_;
  }
  void append(std::string_view text) {
    out_ += text;
    column_ += static_cast<int>(text.size());
  }
  void put_break() {
    out_ += '\n';
    column_ = 0;
  }

  std::size_t max_bytes_;
  std::string out_;
  int indent_ = -1;
  int column_ = 0;
  bool whitespace_ = true;
  bool indention_ = true;
};

}  // namespace

std::optional<std::string> write_block(const Value& value, std::size_t max_bytes) {
  return BlockWriter(max_bytes).write(value);
}

}  // namespace qv_yaml
