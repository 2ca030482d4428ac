#pragma once

#include <string>
#include <string_view>

#include "core/system/exit.h"
#include "qv_yaml/value.h"
#include "result.h"

namespace runtime::instance::upgrade::apply {

// Reads a file's text as exactly one YAML document; a text without a
// document is the null document. `ModifyParseFailed` otherwise.
qv_common::Result<qv_yaml::Value, core::system::exit::CommandError> parse_document(std::string_view version,
                                                                                   std::string_view entry,
                                                                                   std::string_view text);

// Writes a document back as block-style YAML; `ModifyRenderFailed` when it
// cannot, or when the text would be longer than `kMaxResultBytes`.
qv_common::Result<std::string, core::system::exit::CommandError> render_document(
    std::string_view version, std::string_view entry, const qv_yaml::Value& document);

}  // namespace runtime::instance::upgrade::apply
