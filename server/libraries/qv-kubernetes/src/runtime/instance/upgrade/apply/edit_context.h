#pragma once

#include "runtime/instance/upgrade/apply/pattern_cache.h"
#include "runtime/instance/upgrade/apply/work_budget.h"

namespace runtime::instance::upgrade::apply {

// What the edit operations of a run of steps share: the patterns compiled
// so far, and the work budget of the command the steps belong to.
struct EditContext {
  PatternCache& patterns;
  WorkBudget& work;
};

}  // namespace runtime::instance::upgrade::apply
