#include "runtime/instance/upgrade/apply/document.h"

#include "base/error/upgrade.h"
#include "qv_yaml/emit.h"
#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/apply/result_limit.h"

namespace runtime::instance::upgrade::apply {

using base::error::UpgradeError;
using core::system::exit::CommandError;

qv_common::Result<qv_yaml::Value, CommandError> parse_document(std::string_view version, std::string_view entry,
                                                               std::string_view text) {
  auto document = qv_yaml::parse_single(text, {.reject_duplicate_keys = true, .empty_is_null = true});
  if (!document) {
    return qv_common::fail(CommandError(UpgradeError::ModifyParseFailed(
        std::string(version), std::string(entry), std::move(document).error())));
  }
  return std::move(document).value();
}

qv_common::Result<std::string, CommandError> render_document(std::string_view version, std::string_view entry,
                                                             const qv_yaml::Value& document) {
  auto text = qv_yaml::emit(document, kMaxResultBytes);
  if (!text) {
    return qv_common::fail(CommandError(
        UpgradeError::ModifyRenderFailed(std::string(version), std::string(entry), std::move(text).error())));
  }
  return std::move(text).value();
}

}  // namespace runtime::instance::upgrade::apply
