#include "runtime/instance/upgrade/apply/edit_document.h"

namespace runtime::instance::upgrade::apply {

Changed edit_document(WorkingText& text, const Edit& edit) {
  QV_ASSIGN_OR_RETURN(qv_yaml::Value* document, text.document());
  QV_ASSIGN_OR_RETURN(const bool changed, edit(*document));
  if (changed) text.document_changed();
  return changed;
}

}  // namespace runtime::instance::upgrade::apply
