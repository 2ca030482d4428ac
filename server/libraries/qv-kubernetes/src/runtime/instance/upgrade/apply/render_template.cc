#include "runtime/instance/upgrade/apply/render_template.h"

namespace runtime::instance::upgrade::apply {
namespace {

bool starts_name(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool continues_name(char c) { return starts_name(c) || (c >= '0' && c <= '9'); }

// One ${NAME} placeholder of a template: where it stands and its name.
struct Placeholder {
  std::size_t start;
  std::size_t end;
  std::string_view name;
};

// The leftmost placeholder at or after `from`: "${", a letter or underscore,
// letters, digits or underscores, "}".
std::optional<Placeholder> next_placeholder(std::string_view text, std::size_t from) {
  for (std::size_t at = text.find("${", from); at != std::string_view::npos; at = text.find("${", at + 1)) {
    std::size_t end = at + 2;
    if (end >= text.size() || !starts_name(text[end])) continue;
    while (end < text.size() && continues_name(text[end])) ++end;
    if (end < text.size() && text[end] == '}') return Placeholder{at, end + 1, text.substr(at + 2, end - at - 2)};
  }
  return std::nullopt;
}

// Appends `piece` unless the text would pass `limit`.
bool append(std::string& out, std::string_view piece, std::size_t limit) {
  if (piece.size() > limit || out.size() > limit - piece.size()) return false;
  out.append(piece);
  return true;
}

// `render_value` with `limit` taken down by what each string used.
std::optional<qv_yaml::Value> render_within(const qv_yaml::Value& value, const Match& match, std::size_t& limit) {
  switch (value.kind()) {
    case qv_yaml::Value::Kind::kString: {
      auto text = render_template(value.as_string(), match, limit);
      if (!text) return std::nullopt;
      limit -= text->size();
      return qv_yaml::Value(std::move(*text));
    }
    case qv_yaml::Value::Kind::kSequence: {
      qv_yaml::Sequence items;
      for (const qv_yaml::Value& item : value.as_sequence()) {
        auto rendered = render_within(item, match, limit);
        if (!rendered) return std::nullopt;
        items.push_back(std::move(*rendered));
      }
      return qv_yaml::Value(std::move(items));
    }
    case qv_yaml::Value::Kind::kMapping: {
      qv_yaml::Mapping mapping;
      for (const auto& [key, item] : value.as_mapping()) {
        auto rendered = render_within(item, match, limit);
        if (!rendered) return std::nullopt;
        mapping.push_back(key, std::move(*rendered));
      }
      return qv_yaml::Value(std::move(mapping));
    }
    default: return value;
  }
}

}  // namespace

std::optional<std::string> render_template(std::string_view text, const Match& match, std::size_t limit) {
  std::string out;
  std::size_t copied = 0;
  for (auto placeholder = next_placeholder(text, 0); placeholder;
       placeholder = next_placeholder(text, placeholder->end)) {
    const auto group = match.named(placeholder->name);
    const std::string_view filled =
        group ? *group : text.substr(placeholder->start, placeholder->end - placeholder->start);
    if (!append(out, text.substr(copied, placeholder->start - copied), limit) || !append(out, filled, limit)) {
      return std::nullopt;
    }
    copied = placeholder->end;
  }
  if (!append(out, text.substr(copied), limit)) return std::nullopt;
  return out;
}

std::optional<qv_yaml::Value> render_value(const qv_yaml::Value& value, const Match& match, std::size_t limit) {
  return render_within(value, match, limit);
}

}  // namespace runtime::instance::upgrade::apply
