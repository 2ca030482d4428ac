#include "runtime/instance/profile/bundle.h"

#include <algorithm>

namespace runtime::instance::profile::bundle {
namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator)) {
    pieces.push_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  pieces.push_back(text);
  return pieces;
}

std::string join(std::span<const std::string_view> pieces, char separator) {
  std::string text;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) text.push_back(separator);
    text.append(pieces[i]);
  }
  return text;
}

std::vector<std::string> owned(std::span<const std::string_view> pieces) {
  return {pieces.begin(), pieces.end()};
}

// A name whose stem has no "_": the qualifiers sit in the first dot-separated
// piece that holds one, as in config.beta_gke.yaml.
ParsedFileName parse_dotted(std::string_view name, std::string_view stem, std::string_view dot_suffix) {
  const std::vector<std::string_view> pieces = split(name, '.');
  const auto qualified = std::find_if(pieces.begin(), pieces.end(),
                                      [](std::string_view piece) { return piece.find('_') != std::string_view::npos; });
  if (qualified == pieces.end()) return {std::string(stem), {}, std::string(dot_suffix)};

  const std::vector<std::string_view> parts = split(*qualified, '_');
  std::vector<std::string_view> base_pieces(pieces.begin(), qualified);
  base_pieces.push_back(parts.front());
  const std::span<const std::string_view> after(qualified + 1, pieces.end());
  std::string suffix = after.empty() ? std::string() : "." + join(after, '.');
  return {join(base_pieces, '.'), owned(std::span(parts).subspan(1)), std::move(suffix)};
}

}  // namespace

std::string ParsedFileName::render_stripped() const {
  std::string stripped;
  stripped.reserve(base.size() + suffix.size());
  stripped.append(base).append(suffix);
  return stripped;
}

ParsedFileName parse_filename(std::string_view name) {
  const std::size_t dot = name.find('.');
  const std::string_view stem = name.substr(0, dot);
  const std::string_view dot_suffix = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
  if (stem.find('_') == std::string_view::npos) return parse_dotted(name, stem, dot_suffix);

  const std::vector<std::string_view> pieces = split(stem, '_');
  return {std::string(pieces.front()), owned(std::span(pieces).subspan(1)), std::string(dot_suffix)};
}

std::optional<std::size_t> pick_winner(std::span<const ParsedFileName> candidates,
                                       std::span<const std::string_view> wanted) {
  const auto qualifies = [&](const ParsedFileName& candidate) {
    const auto& qualifiers = candidate.qualifiers;
    if (qualifiers.size() > 1) return false;
    return qualifiers.empty() || std::find(wanted.begin(), wanted.end(), qualifiers.front()) != wanted.end();
  };
  std::optional<std::size_t> winner;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (!qualifies(candidates[i])) continue;
    if (!winner || candidates[i].qualifiers.size() > candidates[*winner].qualifiers.size()) winner = i;
  }
  return winner;
}

}  // namespace runtime::instance::profile::bundle
