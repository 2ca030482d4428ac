#include "runtime/instance/upgrade/apply/apply_step.h"

#include "runtime/instance/upgrade/apply/working_text.h"

#include "base/error/upgrade.h"
#include "platform/text_file.h"
#include "platform/utf8.h"
#include "runtime/instance/upgrade/catalog.h"

namespace runtime::instance::upgrade::apply {
namespace {

using base::error::UpgradeError;
using core::system::exit::CommandError;
using qv_common::fail;
using spec::ActionKind;

qv_common::Result<StepResult, CommandError> write_content(store::Store& store, const std::filesystem::path& kupgrade,
                                                          std::string_view version, const plan::Step& step,
                                                          const platform::Containment& reads) {
  const std::filesystem::path content = catalog::content_path(kupgrade, version, step.family, step.variant);
  auto text = platform::read_text(content, reads);
  if (!text) return fail(UpgradeError::ContentReadFailed(std::string(version), platform::display(content), text.error()));
  QV_RETURN_IF_ERROR(store.write(step, std::move(*text)));
  return StepResult::kWritten;
}

qv_common::Result<StepResult, CommandError> modify(store::Store& store, std::string_view version,
                                                   const plan::Step& step, const EditContext& edits) {
  QV_ASSIGN_OR_RETURN(std::optional<std::string> read, store.read(step));
  if (!read) return fail(UpgradeError::ModifyTargetMissing(std::string(version), step.entry, store.locate(step)));
  WorkingText text(std::move(*read), version, step.entry, edits);
  bool changed = false;
  for (const spec::Operation& operation : step.action.changes) {
    QV_ASSIGN_OR_RETURN(const bool fired, operation.apply(text));
    changed = changed || fired;
  }
  QV_ASSIGN_OR_RETURN(std::string result, text.take());
  QV_RETURN_IF_ERROR(store.write(step, std::move(result)));
  return changed ? StepResult::kWritten : StepResult::kUnchanged;
}

}  // namespace

qv_common::Result<StepResult, CommandError> apply_step(store::Store& store, const std::filesystem::path& kupgrade,
                                                       std::string_view version, const plan::Step& step,
                                                       const EditContext& edits, const platform::Containment& reads) {
  switch (step.action.kind) {
    case ActionKind::kRetain: return StepResult::kUnchanged;
    case ActionKind::kCreate:
    case ActionKind::kReplace: return write_content(store, kupgrade, version, step, reads);
    case ActionKind::kDelete:
      QV_RETURN_IF_ERROR(store.remove(step));
      return StepResult::kRemoved;
    case ActionKind::kMerge: return fail(UpgradeError::MergeNotImplemented(std::string(version), step.entry));
    case ActionKind::kModify: return modify(store, version, step, edits);
  }
  return StepResult::kUnchanged;
}

}  // namespace runtime::instance::upgrade::apply
