#include "qv_yaml/emit.h"

#include "qv_yaml/block_writer.h"
#include "qv_yaml/library_writer.h"

namespace qv_yaml {

// Most documents are written directly; the library's emitter writes the rest,
// with the same text for any document both can write.
qv_common::Result<std::string, std::string> emit(const Value& value) {
  if (auto text = write_block(value)) return std::move(*text);
  return write_with_library(value);
}

}  // namespace qv_yaml
