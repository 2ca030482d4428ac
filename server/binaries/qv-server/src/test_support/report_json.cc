#include "test_support/report_json.h"

#include <fmt/format.h>

namespace test_support {

std::string mismatch_json(std::string_view provider, std::string_view version, std::string_view file,
                          std::string_view reason) {
  return fmt::format(R"({{"provider":"{}","version":"{}","file":"{}","reason":"{}"}})", provider, version, file,
                     reason);
}

std::string json_list(const std::vector<std::string>& items) { return fmt::format("[{}]", fmt::join(items, ",")); }

}  // namespace test_support
