#pragma once

#include <string>
#include <string_view>

#include "runtime/instance/upgrade/apply/edit_document.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {

// One operation kind applied to a file's text; `version` and `entry` name
// a failure. Each is defined in the file named after its kind.
Replacement replace_kind(const spec::ModifyLeafValueIf& op, std::string_view version, std::string_view entry,
                         std::string text);
Replacement replace_kind(const spec::ModifyTextIf& op, std::string_view version, std::string_view entry,
                         std::string text);
Replacement replace_kind(const spec::InsertSiblingIfExisting& op, std::string_view version,
                         std::string_view entry, std::string text);
Replacement replace_kind(const spec::InsertChildIfMissing& op, std::string_view version, std::string_view entry,
                         std::string text);
Replacement replace_kind(const spec::NestChildrenIfFlat& op, std::string_view version, std::string_view entry,
                         std::string text);
Replacement replace_kind(const spec::DeriveItemIfMissing& op, std::string_view version, std::string_view entry,
                         std::string text);
Replacement replace_kind(const spec::DeriveSiblingIfExisting& op, std::string_view version,
                         std::string_view entry, std::string text);
Replacement replace_kind(const spec::RemoveLeafIf& op, std::string_view version, std::string_view entry,
                         std::string text);

}  // namespace runtime::instance::upgrade::apply
