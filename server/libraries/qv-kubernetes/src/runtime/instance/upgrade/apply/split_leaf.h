#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace runtime::instance::upgrade::apply {

// Splits a dotted leaf path into its segments. Double quotes toggle quoting
// and are dropped; a full stop outside quotes ends a segment, so empty
// segments count; an unclosed quote quotes the rest.
std::vector<std::string> split_leaf(std::string_view leaf);

}  // namespace runtime::instance::upgrade::apply
