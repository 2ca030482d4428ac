#pragma once

#include <string>
#include <string_view>

#include "runtime/instance/upgrade/spec/action.h"

namespace runtime::instance::upgrade::plan {

// One planned file operation.
struct Step {
  // The family folder and the group key joined by "/", as messages cite it.
  std::string entry;
  // The group key: the variant-free file name.
  std::string file;
  // The variant file name, as the file lies in a kprofile folder.
  std::string variant;
  spec::Action action;
  // One of the fixed family folder names.
  std::string_view family;
};

}  // namespace runtime::instance::upgrade::plan
