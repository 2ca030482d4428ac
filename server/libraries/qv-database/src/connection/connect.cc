#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>

#include "connection/connection.h"

namespace connection {
namespace {

using Clock = std::chrono::steady_clock;

void keep_notice(void* notices, const PGresult* message) {
  auto& kept = *static_cast<std::vector<Notice>*>(notices);
  if (kept.size() >= Connection::kMaxNotices) return;
  auto field = [&](int code) {
    const char* value = PQresultErrorField(message, code);
    return value == nullptr ? std::string() : std::string(value);
  };
  kept.push_back(Notice{
      .severity = field(PG_DIAG_SEVERITY_NONLOCALIZED),
      .sqlstate = field(PG_DIAG_SQLSTATE),
      .message = field(PG_DIAG_MESSAGE_PRIMARY),
  });
}

// libpq's rule: 0 or nothing waits forever; otherwise at least two seconds.
std::optional<Clock::time_point> deadline_of(const Settings& settings) {
  const std::string* setting = find_setting(settings, "connect_timeout");
  const char* text = setting != nullptr ? setting->c_str() : std::getenv("PGCONNECT_TIMEOUT");
  int seconds = text == nullptr ? 0 : std::atoi(text);
  if (seconds <= 0) return std::nullopt;
  return Clock::now() + std::chrono::seconds(std::max(seconds, 2));
}

// Drives PQconnectPoll until the session is open, failed or out of time.
qv_common::Result<void, Error> complete(PGconn* connection, std::optional<Clock::time_point> deadline) {
  PostgresPollingStatusType status = PGRES_POLLING_WRITING;
  while (status != PGRES_POLLING_OK) {
    if (status == PGRES_POLLING_FAILED) return qv_common::fail(error_of_connection(connection, ErrorKind::Connect));
    pollfd socket{.fd = PQsocket(connection),
                  .events = static_cast<short>(status == PGRES_POLLING_READING ? POLLIN : POLLOUT),
                  .revents = 0};
    int wait_ms = -1;
    if (deadline) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
      wait_ms = static_cast<int>(std::max<decltype(left)>(left, 0));
    }
    int ready = poll(&socket, 1, wait_ms);
    if (ready == 0) return qv_common::fail(client_error(ErrorKind::Connect, "timeout expired"));
    if (ready < 0 && errno != EINTR) {
      return qv_common::fail(client_error(ErrorKind::Connect, "could not wait for the server"));
    }
    status = PQconnectPoll(connection);
  }
  return {};
}

}  // namespace

qv_common::Result<Connection, Error> connect(std::string_view conninfo, const Settings& overrides) {
  QV_ASSIGN_OR_RETURN(Settings settings, parse_conninfo(conninfo));
  for (const auto& [keyword, value] : overrides) set_setting(settings, keyword, value);
  default_root_certificate(settings);

  std::vector<const char*> keywords;
  std::vector<const char*> values;
  for (const auto& [keyword, value] : settings) {
    keywords.push_back(keyword.c_str());
    values.push_back(value.c_str());
  }
  keywords.push_back(nullptr);
  values.push_back(nullptr);

  // The session is started without blocking so that the notice receiver is
  // in place before the server can send its first message.
  auto notices = std::make_unique<std::vector<Notice>>();
  std::unique_ptr<PGconn, Connection::Finish> session(PQconnectStartParams(keywords.data(), values.data(), 0));
  if (!session || PQstatus(session.get()) == CONNECTION_BAD) {
    return qv_common::fail(error_of_connection(session.get(), ErrorKind::Connect));
  }
  PQsetNoticeReceiver(session.get(), keep_notice, notices.get());
  QV_RETURN_IF_ERROR(complete(session.get(), deadline_of(settings)));
  return Connection(std::move(notices), std::move(session));
}

}  // namespace connection
