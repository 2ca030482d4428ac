#pragma once

#include <filesystem>

#include "core/system/exit.h"
#include "platform/temp_dir.h"
#include "result.h"
#include "runtime/instance/upgrade/replay/sources.h"
#include "runtime/instance/upgrade/replay/templates.h"

namespace runtime::instance::upgrade::replay {

// Writes under `target` the kprofile of every older release (from its git
// tag, with its patch applied) in kprofiles/<version>, and one template per
// release and served provider in templates/<version>/<provider>.
qv_common::Result<Templates, core::system::exit::CommandError> materialize(const Sources& sources,
                                                                           const std::filesystem::path& target);

// Templates materialised in a fresh temporary folder that lives as long as
// `folder`.
struct ScratchTemplates {
  platform::TempDir folder;
  Templates templates;
};
qv_common::Result<ScratchTemplates, core::system::exit::CommandError> materialize_scratch(const Sources& sources);

// Makes `dst` a copy of the folder `src`, removing what `dst` held first.
qv_common::Result<void, core::system::exit::CommandError> reset(const std::filesystem::path& src,
                                                                const std::filesystem::path& dst);

}  // namespace runtime::instance::upgrade::replay
