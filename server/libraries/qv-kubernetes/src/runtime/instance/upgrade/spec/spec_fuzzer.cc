// Feeds arbitrary text through the upgrade spec reader, typed and dynamic.
#include <cstdint>
#include <string_view>

#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/spec/read.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace runtime::instance::upgrade::spec;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto typed = qv_yaml::parse_single(text, {.reject_duplicate_keys = false});
  if (typed) {
    (void)read_spec(*typed);
    (void)read_operations(*typed);
    if (typed->is_mapping()) (void)read_probe(*typed);
  }
  return 0;
}
