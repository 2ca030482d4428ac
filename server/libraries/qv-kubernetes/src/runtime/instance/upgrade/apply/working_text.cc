#include "runtime/instance/upgrade/apply/working_text.h"

#include <algorithm>

#include "base/error/upgrade.h"
#include "qv_yaml/extent.h"
#include "runtime/instance/upgrade/apply/document.h"
#include "runtime/instance/upgrade/apply/result_limit.h"

namespace runtime::instance::upgrade::apply {

using base::error::UpgradeError;
using core::system::exit::CommandError;

qv_common::Result<qv_yaml::Value*, CommandError> WorkingText::document() {
  if (!document_) {
    if (!work().take_bytes(text_.size())) return qv_common::fail(parse_failed(work().exceeded()));
    QV_ASSIGN_OR_RETURN(qv_yaml::Value parsed, parse_document(version_, entry_, text_));
    // Aliases can make a document larger than its text, and building it
    // costs the bytes they add too.
    size_ = qv_yaml::extent_of(parsed).bytes;
    if (size_ > text_.size() && !work().take_bytes(size_ - text_.size())) {
      return qv_common::fail(parse_failed(work().exceeded()));
    }
    document_ = std::move(parsed);
  }
  return &*document_;
}

qv_common::Result<const std::string*, CommandError> WorkingText::text() {
  if (stale_) {
    QV_ASSIGN_OR_RETURN(std::string rendered, render_document(version_, entry_, *document_));
    if (!work().take_bytes(rendered.size())) return qv_common::fail(render_failed(work().exceeded()));
    text_ = std::move(rendered);
    stale_ = false;
  }
  return &text_;
}

void WorkingText::set_text(std::string text) {
  text_ = std::move(text);
  size_ = text_.size();
  document_.reset();
  stale_ = false;
}

qv_common::Result<std::string, CommandError> WorkingText::take() {
  QV_RETURN_IF_ERROR(text());
  return std::move(text_);
}

std::size_t WorkingText::room() const { return kMaxResultBytes - std::min(size_, kMaxResultBytes); }

qv_common::Result<void, CommandError> WorkingText::grow(std::size_t bytes) {
  if (bytes > room()) return qv_common::fail(result_too_large(version_, entry_));
  size_ += bytes;
  return {};
}

void WorkingText::shrink(std::size_t bytes) { size_ -= std::min(size_, bytes); }

qv_common::Result<void, CommandError> WorkingText::count_edit() {
  if (!work().take(size_ * WorkBudget::kEditByteCost)) return qv_common::fail(render_failed(work().exceeded()));
  return {};
}

CommandError WorkingText::parse_failed(std::string cause) const {
  return UpgradeError::ModifyParseFailed(std::string(version_), std::string(entry_), std::move(cause));
}

CommandError WorkingText::render_failed(std::string cause) const {
  return UpgradeError::ModifyRenderFailed(std::string(version_), std::string(entry_), std::move(cause));
}

}  // namespace runtime::instance::upgrade::apply
