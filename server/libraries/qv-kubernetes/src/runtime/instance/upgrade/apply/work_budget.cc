#include "runtime/instance/upgrade/apply/work_budget.h"

#include <fmt/format.h>

namespace runtime::instance::upgrade::apply {

std::string WorkBudget::exceeded() const {
  return fmt::format("work limit exceeded: the edit operations of one command took more than {} units of work",
                     units_);
}

}  // namespace runtime::instance::upgrade::apply
