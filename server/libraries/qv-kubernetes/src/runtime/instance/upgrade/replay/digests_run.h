#pragma once

#include <cstdint>
#include <vector>

#include "core/system/exit.h"
#include "result.h"
#include "runtime/instance/upgrade/replay/mismatch.h"
#include "runtime/instance/upgrade/replay/sources.h"
#include "runtime/instance/upgrade/replay/templates.h"

namespace runtime::instance::upgrade::replay {

struct DigestsOutcome {
  // How many digests this run added to the document.
  std::uint64_t recorded = 0;
  std::vector<Mismatch> mismatches;
};

// Compares every released template but the newest with its recorded digest;
// with `record`, the missing digests are computed and written first.
qv_common::Result<DigestsOutcome, core::system::exit::CommandError> check_digests(const Sources& sources,
                                                                                  const Templates& templates,
                                                                                  bool record);

}  // namespace runtime::instance::upgrade::replay
