#include "runtime/instance/upgrade/apply/pattern_cache.h"

namespace runtime::instance::upgrade::apply {

const qv_common::Result<Regex, std::string>& PatternCache::compile(std::string_view pattern) {
  auto found = compiled_.find(pattern);
  if (found == compiled_.end()) found = compiled_.emplace(std::string(pattern), Regex::compile(pattern)).first;
  return found->second;
}

}  // namespace runtime::instance::upgrade::apply
