#include "runtime/instance/upgrade/apply/working_text.h"

#include "runtime/instance/upgrade/apply/document.h"

namespace runtime::instance::upgrade::apply {

using core::system::exit::CommandError;

qv_common::Result<qv_yaml::Value*, CommandError> WorkingText::document() {
  if (!document_) {
    QV_ASSIGN_OR_RETURN(qv_yaml::Value parsed, parse_document(version_, entry_, text_));
    document_ = std::move(parsed);
  }
  return &*document_;
}

qv_common::Result<const std::string*, CommandError> WorkingText::text() {
  if (stale_) {
    QV_ASSIGN_OR_RETURN(text_, render_document(version_, entry_, *document_));
    stale_ = false;
  }
  return &text_;
}

void WorkingText::set_text(std::string text) {
  text_ = std::move(text);
  document_.reset();
  stale_ = false;
}

qv_common::Result<std::string, CommandError> WorkingText::take() {
  QV_RETURN_IF_ERROR(text());
  return std::move(text_);
}

}  // namespace runtime::instance::upgrade::apply
