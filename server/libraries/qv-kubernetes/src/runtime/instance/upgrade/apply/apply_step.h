#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/system/exit.h"
#include "platform/inside.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/edit_context.h"
#include "runtime/instance/upgrade/plan.h"
#include "runtime/instance/upgrade/store.h"

namespace runtime::instance::upgrade::apply {

// What one step did to its file.
enum class StepResult : std::uint8_t {
  // Nothing written: retain, or a modify whose operations changed nothing.
  kUnchanged = 0,
  // The file was written with new content.
  kWritten = 1,
  // The file was removed, or was already absent.
  kRemoved = 2,
};

// Carries out one step through the store: retain, write from the version's
// content file (opened through `reads`), remove, or edit with the step's
// operations, which compile their patterns and count their work through
// `edits`.
qv_common::Result<StepResult, core::system::exit::CommandError> apply_step(store::Store& store,
                                                                           const std::filesystem::path& kupgrade,
                                                                           std::string_view version,
                                                                           const plan::Step& step,
                                                                           const EditContext& edits,
                                                                           const platform::Containment& reads = {});

}  // namespace runtime::instance::upgrade::apply
