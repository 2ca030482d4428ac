#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "result.h"
#include "runtime/instance/upgrade/apply/regex.h"

namespace runtime::instance::upgrade::apply {

// The patterns of a run of steps by their text, each compiled once: compiling
// the same text gives the same result and the same error, and the operations
// of one entry run on every file the entry acts on.
class PatternCache {
 public:
  // The compiled pattern, or the library's message when it does not compile.
  const qv_common::Result<Regex, std::string>& compile(std::string_view pattern);

 private:
  std::map<std::string, qv_common::Result<Regex, std::string>, std::less<>> compiled_;
};

}  // namespace runtime::instance::upgrade::apply
