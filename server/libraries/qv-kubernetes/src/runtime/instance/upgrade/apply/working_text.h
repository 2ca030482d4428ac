#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/system/exit.h"
#include "qv_yaml/value.h"
#include "result.h"
#include "runtime/instance/upgrade/apply/pattern_cache.h"

namespace runtime::instance::upgrade::apply {

// The text of a file while the operations of one modify step edit it. The
// parsed document is kept between YAML edits, so a chain of edits parses the
// file once and renders it once: reading back a rendered document gives an
// equal document, so the result is the one each edit would give on its own.
// An edit that does not fire leaves both the text and the document alone.
class WorkingText {
 public:
  WorkingText(std::string text, std::string_view version, std::string_view entry, PatternCache& patterns)
      : text_(std::move(text)), version_(version), entry_(entry), patterns_(patterns) {}

  // The document, parsed on first use (`ModifyParseFailed`).
  qv_common::Result<qv_yaml::Value*, core::system::exit::CommandError> document();
  // Records that the document was edited: the text is rendered from it when
  // it is next asked for.
  void document_changed() { stale_ = true; }

  // The current text (`ModifyRenderFailed` when it cannot be rendered).
  qv_common::Result<const std::string*, core::system::exit::CommandError> text();
  // Replaces the text; the document is read again from it when next asked for.
  void set_text(std::string text);

  // The final text.
  qv_common::Result<std::string, core::system::exit::CommandError> take();

  std::string_view version() const { return version_; }
  std::string_view entry() const { return entry_; }
  // Where the operations compile their patterns.
  PatternCache& patterns() { return patterns_; }

 private:
  std::string text_;
  std::optional<qv_yaml::Value> document_;
  // Whether the document holds edits the text lacks.
  bool stale_ = false;
  std::string_view version_;
  std::string_view entry_;
  PatternCache& patterns_;
};

}  // namespace runtime::instance::upgrade::apply
