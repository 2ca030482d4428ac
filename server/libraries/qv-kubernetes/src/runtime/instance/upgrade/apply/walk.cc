#include "runtime/instance/upgrade/apply/walk.h"

namespace runtime::instance::upgrade::apply {

qv_yaml::Value* walk(qv_yaml::Value& node, std::span<const std::string> segments) {
  qv_yaml::Value* current = &node;
  for (const std::string& segment : segments) {
    qv_yaml::Value& untagged = current->untagged();
    if (!untagged.is_mapping()) return nullptr;
    current = untagged.as_mapping().find(std::string_view(segment));
    if (current == nullptr) return nullptr;
  }
  return current;
}

}  // namespace runtime::instance::upgrade::apply
