#pragma once

#include <string>
#include <string_view>

#include "runtime/instance/upgrade/apply/edit_document.h"
#include "runtime/instance/upgrade/spec/operation.h"

namespace runtime::instance::upgrade::apply {

// One operation kind applied to the text of a modify step; says whether it
// fired. Each is defined in the file named after its kind.
Changed replace_kind(const spec::ModifyLeafValueIf& op, WorkingText& text);
Changed replace_kind(const spec::ModifyTextIf& op, WorkingText& text);
Changed replace_kind(const spec::InsertSiblingIfExisting& op, WorkingText& text);
Changed replace_kind(const spec::InsertChildIfMissing& op, WorkingText& text);
Changed replace_kind(const spec::NestChildrenIfFlat& op, WorkingText& text);
Changed replace_kind(const spec::DeriveItemIfMissing& op, WorkingText& text);
Changed replace_kind(const spec::DeriveSiblingIfExisting& op, WorkingText& text);
Changed replace_kind(const spec::RemoveLeafIf& op, WorkingText& text);

}  // namespace runtime::instance::upgrade::apply
