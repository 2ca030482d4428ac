#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/system/exit.h"
#include "qv_yaml/value.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/edit_context.h"

namespace runtime::instance::upgrade::apply {

// The text of a file while the operations of one modify step edit it. The
// parsed document is kept between YAML edits, so a chain of edits parses the
// file once and renders it once: reading back a rendered document gives an
// equal document, so the result is the one each edit would give on its own.
// An edit that does not fire leaves both the text and the document alone.
//
// It also keeps the size of the text, or of the document as `extent_of`
// counts it, so that an edit can stop before its result passes
// `kMaxResultBytes` without rendering it; that size also tells what each
// parse, render and edit costs the command's work budget.
class WorkingText {
 public:
  WorkingText(std::string text, std::string_view version, std::string_view entry, const EditContext& context)
      : text_(std::move(text)), size_(text_.size()), version_(version), entry_(entry), context_(context) {}

  // The document, parsed on first use (`ModifyParseFailed`, also when the
  // work budget has no room for the parse).
  qv_common::Result<qv_yaml::Value*, core::system::exit::CommandError> document();
  // Records that the document was edited: the text is rendered from it when
  // it is next asked for.
  void document_changed() { stale_ = true; }

  // The current text (`ModifyRenderFailed` when it cannot be rendered, also
  // when the work budget has no room for the render).
  qv_common::Result<const std::string*, core::system::exit::CommandError> text();
  // Replaces the text; the document is read again from it when next asked for.
  void set_text(std::string text);

  // The final text.
  qv_common::Result<std::string, core::system::exit::CommandError> take();

  // The bytes an edit may still add to the document.
  std::size_t room() const;
  // Counts `bytes` added to the document; `ModifyRenderFailed` naming the
  // limit when there is no room for them.
  qv_common::Result<void, core::system::exit::CommandError> grow(std::size_t bytes);
  // Counts `bytes` taken out of the document.
  void shrink(std::size_t bytes);

  // Counts the work of one edit of the document, by its size
  // (`WorkBudget::kEditByteCost`). `ModifyRenderFailed` naming the limit
  // when the work budget has no room for it.
  qv_common::Result<void, core::system::exit::CommandError> count_edit();

  std::string_view version() const { return version_; }
  std::string_view entry() const { return entry_; }
  // Where the operations compile their patterns.
  PatternCache& patterns() { return context_.patterns; }
  // The work the command's operations may still do.
  WorkBudget& work() { return context_.work; }

 private:
  core::system::exit::CommandError parse_failed(std::string cause) const;
  core::system::exit::CommandError render_failed(std::string cause) const;

  std::string text_;
  std::optional<qv_yaml::Value> document_;
  // Whether the document holds edits the text lacks.
  bool stale_ = false;
  // The size of the text, or of the document once it is parsed.
  std::size_t size_;
  std::string_view version_;
  std::string_view entry_;
  EditContext context_;
};

}  // namespace runtime::instance::upgrade::apply
