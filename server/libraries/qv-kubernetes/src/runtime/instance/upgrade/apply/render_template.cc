#include "runtime/instance/upgrade/apply/render_template.h"

#include <cstdio>
#include <cstdlib>

namespace runtime::instance::upgrade::apply {
namespace {

constexpr std::string_view kPlaceholder = R"(\$\{([A-Za-z_][A-Za-z0-9_]*)\})";

// The placeholder pattern is fixed and matches in linear time, so a failure
// here is a fault of this program.
[[noreturn]] void placeholder_failed(const std::string& message) {
  std::fprintf(stderr, "placeholder pattern failed: %s\n", message.c_str());
  std::abort();
}

std::vector<Match> placeholders(std::string_view text) {
  auto pattern = Regex::compile(kPlaceholder);
  if (!pattern) placeholder_failed(pattern.error());
  auto found = pattern->find_all(text);
  if (!found) placeholder_failed(found.error());
  return std::move(found).value();
}

}  // namespace

std::string render_template(std::string_view text, const Match& match) {
  std::string out;
  std::size_t copied = 0;
  for (const Match& placeholder : placeholders(text)) {
    out.append(text.substr(copied, placeholder.start() - copied));
    const auto group = match.named(*placeholder.group(1));
    out.append(group ? *group : placeholder.text());
    copied = placeholder.end();
  }
  out.append(text.substr(copied));
  return out;
}

qv_yaml::Value render_value(const qv_yaml::Value& value, const Match& match) {
  switch (value.kind()) {
    case qv_yaml::Value::Kind::kString: return qv_yaml::Value(render_template(value.as_string(), match));
    case qv_yaml::Value::Kind::kSequence: {
      qv_yaml::Sequence items;
      for (const qv_yaml::Value& item : value.as_sequence()) items.push_back(render_value(item, match));
      return qv_yaml::Value(std::move(items));
    }
    case qv_yaml::Value::Kind::kMapping: {
      qv_yaml::Mapping mapping;
      for (const auto& [key, item] : value.as_mapping()) mapping.push_back(key, render_value(item, match));
      return qv_yaml::Value(std::move(mapping));
    }
    default: return value;
  }
}

}  // namespace runtime::instance::upgrade::apply
