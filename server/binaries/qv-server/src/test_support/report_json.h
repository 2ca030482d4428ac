#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// One mismatch object as the replay and digests reports print it.
std::string mismatch_json(std::string_view provider, std::string_view version, std::string_view file,
                          std::string_view reason);

// The items between brackets, separated by commas.
std::string json_list(const std::vector<std::string>& items);

}  // namespace test_support
