#include "runtime/instance/upgrade/apply/edit_document.h"

#include "runtime/instance/upgrade/apply/document.h"

namespace runtime::instance::upgrade::apply {

Replacement edit_document(std::string_view version, std::string_view entry, std::string text, const Edit& edit) {
  QV_ASSIGN_OR_RETURN(qv_yaml::Value document, parse_document(version, entry, text));
  QV_ASSIGN_OR_RETURN(const bool changed, edit(document));
  if (!changed) return spec::Replaced{std::move(text), false};
  QV_ASSIGN_OR_RETURN(std::string rendered, render_document(version, entry, document));
  return spec::Replaced{std::move(rendered), true};
}

}  // namespace runtime::instance::upgrade::apply
