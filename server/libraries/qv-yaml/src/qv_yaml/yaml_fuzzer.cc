// Feeds arbitrary text through the parser; whatever parses must write out and
// read back as the same value, and the direct writer must write what the
// library's emitter writes. A document that repeats keys is only written out:
// equality of mappings with repeated keys is not defined.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "qv_yaml/block_writer.h"
#include "qv_yaml/emit.h"
#include "qv_yaml/library_writer.h"
#include "qv_yaml/parse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (bool duplicates : {false, true}) {
    auto value = qv_yaml::parse_single(text, {.reject_duplicate_keys = !duplicates});
    if (!value) continue;
    if (auto direct = qv_yaml::write_block(*value)) {
      auto library = qv_yaml::write_with_library(*value);
      if (!library || *library != *direct) std::abort();
    }
    auto written = qv_yaml::emit(*value);
    if (!written) continue;
    if (duplicates) continue;
    auto back = qv_yaml::parse_single(*written);
    if (!back || !(*back == *value)) std::abort();
  }
  return 0;
}
