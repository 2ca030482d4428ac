#pragma once

#include "core/system/exit.h"
#include "qv_yaml/value.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/working_text.h"

namespace runtime::instance::upgrade::apply {

// Whether an operation fired.
using Changed = qv_common::Result<bool, core::system::exit::CommandError>;

// Runs `edit`, which edits a document in place and says whether it changed
// it, on the text's document, counting its work. An edit that does not fire
// leaves the document as it was. A template, so that an edit's captures
// need no allocation.
template <typename Edit>
Changed edit_document(WorkingText& text, const Edit& edit) {
  QV_ASSIGN_OR_RETURN(qv_yaml::Value* document, text.document());
  QV_RETURN_IF_ERROR(text.count_edit());
  Changed changed = edit(*document);
  if (changed && *changed) text.document_changed();
  return changed;
}

}  // namespace runtime::instance::upgrade::apply
