#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Variant file names: deploy_eks.yaml is the eks variant of deploy.yaml.
namespace runtime::instance::profile::bundle {

struct ParsedFileName {
  std::string base;                     // the variant-free name before the suffix
  std::vector<std::string> qualifiers;  // in file-name order; each may be empty
  std::string suffix;                   // empty or starting with "."

  // The variant-free name: base followed by suffix.
  std::string render_stripped() const;
};

// Splits a file name (no folder part) into base, qualifiers and suffix. Every
// text parses.
ParsedFileName parse_filename(std::string_view name);

// The index of the candidate that serves `wanted`: a name with no qualifier or
// with one qualifier equal to a wanted text, preferring the qualified one; of
// equal rank the first wins. Names with several qualifiers never qualify.
std::optional<std::size_t> pick_winner(std::span<const ParsedFileName> candidates,
                                       std::span<const std::string_view> wanted);

}  // namespace runtime::instance::profile::bundle
