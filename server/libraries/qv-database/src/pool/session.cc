#include "pool/session.h"

#include <cstdlib>

#include "connection/conninfo.h"

namespace pool::session {
namespace {

// Found dead after 10 s of silence and three unanswered probes 5 s apart, or
// when sent data stays unacknowledged for 30 s.
const connection::Settings kTimeouts = {
    {"connect_timeout", "10"},      {"keepalives", "1"},        {"keepalives_idle", "10"},
    {"keepalives_interval", "5"},   {"keepalives_count", "3"},  {"tcp_user_timeout", "30000"},
};

// Spaces and backslashes inside one option are escaped with a backslash.
std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string own_options(const connection::Settings& settings) {
  if (const std::string* options = connection::find_setting(settings, "options")) return *options;
  const char* environment = std::getenv("PGOPTIONS");
  return environment == nullptr ? std::string() : std::string(environment);
}

}  // namespace

qv_common::Result<std::string, connection::Error> session_conninfo(std::string_view conninfo,
                                                                   const ServerSettings& settings) {
  QV_ASSIGN_OR_RETURN(connection::Settings parsed, connection::parse_conninfo(conninfo));
  std::string options = own_options(parsed);
  for (const auto& [name, value] : settings) {
    if (!options.empty()) options += ' ';
    options += "-c " + escaped(name) + "=" + escaped(value);
  }
  if (!options.empty()) connection::set_setting(parsed, "options", options);
  for (const auto& [keyword, value] : kTimeouts) {
    bool from_environment = keyword == "connect_timeout" && std::getenv("PGCONNECT_TIMEOUT") != nullptr;
    if (connection::find_setting(parsed, keyword) == nullptr && !from_environment) {
      connection::set_setting(parsed, keyword, value);
    }
  }
  return connection::render_conninfo(parsed);
}

}  // namespace pool::session
