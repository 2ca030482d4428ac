#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/system/exit.h"
#include "qv_yaml/value.h"
#include "result.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {

using Replacement = qv_common::Result<spec::Replaced, core::system::exit::CommandError>;
// Edits a document in place and says whether it changed it.
using Edit = std::function<qv_common::Result<bool, core::system::exit::CommandError>(qv_yaml::Value&)>;

// Parses `text`, runs `edit` on the document and renders the document when
// the edit changed it; otherwise hands back `text` untouched.
Replacement edit_document(std::string_view version, std::string_view entry, std::string text, const Edit& edit);

}  // namespace runtime::instance::upgrade::apply
