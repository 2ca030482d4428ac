#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "runtime/instance/upgrade/spec/action.h"

namespace runtime::instance::upgrade::spec {

// Variant file name to its action.
using GroupMap = std::map<std::string, Action>;
// Group (the variant-free file name) to its variants.
using FamilyMap = std::map<std::string, GroupMap>;

// The resolved configuration files that an instance holds.
struct Resolved {
  FamilyMap configs;
};

// The upgrade spec of one version: upgrades/<version>.yaml.
struct Spec {
  std::uint32_t schema = 0;
  FamilyMap assets;
  FamilyMap configs;
  FamilyMap pods;
  Resolved resolved;
};

}  // namespace runtime::instance::upgrade::spec
