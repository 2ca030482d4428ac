#include "qv_yaml/emit.h"

#include <fmt/format.h>

#include "qv_yaml/block_writer.h"
#include "qv_yaml/library_writer.h"

namespace qv_yaml {

// Most documents are written directly; the library's emitter writes the rest,
// with the same text for any document both can write. A text too long for
// the direct writer is left to the emitter too, which then names the limit.
qv_common::Result<std::string, std::string> emit(const Value& value, std::size_t max_bytes) {
  if (auto text = write_block(value, max_bytes)) return std::move(*text);
  return write_with_library(value, max_bytes);
}

std::string size_limit_exceeded(std::size_t max_bytes) {
  return fmt::format("size limit exceeded: the text would be longer than {} bytes", max_bytes);
}

}  // namespace qv_yaml
