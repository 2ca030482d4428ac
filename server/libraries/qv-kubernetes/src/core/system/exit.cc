#include "core/system/exit.h"

#include <fmt/format.h>

namespace core::system::exit {
namespace {

using qv_common::status::ExitStatus;
using qv_error::ApiError;

ExitStatus status_of(const ApiError& api_error) {
  switch (api_error.kind()) {
    case ApiError::Kind::InternalError:
    case ApiError::Kind::NotImplemented:
    case ApiError::Kind::Unexpected:
      return ExitStatus::GeneralError;
    case ApiError::Kind::Any:
      return api_error.status() >= 500 ? ExitStatus::GeneralError : ExitStatus::QuorValeError;
    default:
      return ExitStatus::QuorValeError;
  }
}

template <typename Error>
qv_error::QvError wrap(std::string domain, Error error) {
  const std::uint16_t code = error.code();
  std::string message = error.message();
  return qv_error::QvError::wrap(std::move(domain), code, std::move(message), std::move(error));
}

}  // namespace

CommandError::CommandError(base::error::UpgradeError error)
    : CommandError(from(wrap("UpgradeError", std::move(error)))) {}

CommandError::CommandError(base::error::ProfileError error)
    : CommandError(from(wrap("ProfileError", std::move(error)))) {}

CommandError CommandError::from(qv_error::QvError error) {
  const ExitStatus status = status_of(error.api_error);
  return CommandError(status, std::move(error));
}

std::string CommandError::debug() const {
  const std::string rendered_source = source ? fmt::format("Some({})", source->debug()) : "None";
  return fmt::format("CommandError {{ status: {}, source: {} }}", qv_common::status::debug_name(status),
                     rendered_source);
}

}  // namespace core::system::exit
