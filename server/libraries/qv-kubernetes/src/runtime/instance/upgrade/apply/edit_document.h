#pragma once

#include <functional>

#include "core/system/exit.h"
#include "qv_yaml/value.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/working_text.h"

namespace runtime::instance::upgrade::apply {

// Whether an operation fired.
using Changed = qv_common::Result<bool, core::system::exit::CommandError>;
// Edits a document in place and says whether it changed it. An edit that does
// not fire leaves the document as it was.
using Edit = std::function<Changed(qv_yaml::Value&)>;

// Runs `edit` on the text's document.
Changed edit_document(WorkingText& text, const Edit& edit);

}  // namespace runtime::instance::upgrade::apply
