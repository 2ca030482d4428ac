#pragma once

#include <optional>
#include <string>

#include "base/error/profile.h"
#include "base/error/upgrade.h"
#include "qv_error.h"
#include "status.h"

namespace core::system::exit {

// The failure a command ends with: a process status and the error record.
struct CommandError {
  qv_common::status::ExitStatus status;
  std::optional<qv_error::QvError> source;

  CommandError(qv_common::status::ExitStatus exit_status, std::optional<qv_error::QvError> error_source)
      : status(exit_status), source(std::move(error_source)) {}

  // Wrap the error under the domain "UpgradeError" / "ProfileError". Implicit
  // so that an engine error converts where a CommandError is expected.
  CommandError(base::error::UpgradeError error);  // NOLINT(google-explicit-constructor)
  CommandError(base::error::ProfileError error);  // NOLINT(google-explicit-constructor)

  // GeneralError for the classes InternalError, NotImplemented, Unexpected
  // and Any from 500 on; QuorValeError for every other class.
  static CommandError from(qv_error::QvError error);

  // CommandError { status: ..., source: Some(QvError { ... }) } or source: None.
  std::string debug() const;
};

}  // namespace core::system::exit
