#include "qv_yaml/extent.h"

namespace qv_yaml {
namespace {

void add(const Value& value, Extent& extent) {
  ++extent.nodes;
  ++extent.bytes;
  switch (value.kind()) {
    case Value::Kind::kNull: break;
    case Value::Kind::kString: extent.bytes += value.as_string().size(); break;
    case Value::Kind::kSequence:
      for (const Value& item : value.as_sequence()) add(item, extent);
      break;
    case Value::Kind::kMapping:
      for (const auto& [key, item] : value.as_mapping()) {
        add(key, extent);
        add(item, extent);
      }
      break;
    case Value::Kind::kTagged:
      extent.bytes += value.as_tagged().tag.size();
      add(value.as_tagged().value, extent);
      break;
    default: ++extent.bytes; break;
  }
}

}  // namespace

Extent extent_of(const Value& value) {
  Extent extent;
  add(value, extent);
  return extent;
}

}  // namespace qv_yaml
