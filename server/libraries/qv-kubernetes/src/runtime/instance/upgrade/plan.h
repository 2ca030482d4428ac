#pragma once

#include <string>
#include <string_view>

#include <vector>

#include "runtime/instance/upgrade/spec/action.h"
#include "runtime/instance/upgrade/spec/spec.h"
#include "runtime/provider.h"

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

// The steps that replay applies to a provider's template: per group the
// variant that serves the provider, with the resolved configs groups in place
// of the configs groups of the same name, and no ".schema.yaml" configs group.
std::vector<Step> provider_steps(const spec::Spec& spec, provider::ClusterProvider provider);

}  // namespace runtime::instance::upgrade::plan
