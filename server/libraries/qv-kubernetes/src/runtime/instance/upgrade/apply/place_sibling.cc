#include "runtime/instance/upgrade/apply/place_sibling.h"

namespace runtime::instance::upgrade::apply {

void place_sibling(qv_yaml::Mapping& mapping, const qv_yaml::Value& anchor, const qv_yaml::Value& key,
                   const qv_yaml::Value& value, spec::Placement placement) {
  qv_yaml::Mapping rebuilt;
  for (auto& [entry_key, entry_value] : mapping) {
    const bool at_anchor = entry_key == anchor;
    if (at_anchor && placement == spec::Placement::kBefore) rebuilt.push_back(key, value);
    rebuilt.push_back(std::move(entry_key), std::move(entry_value));
    if (at_anchor && placement == spec::Placement::kAfter) rebuilt.push_back(key, value);
  }
  mapping = std::move(rebuilt);
}

}  // namespace runtime::instance::upgrade::apply
