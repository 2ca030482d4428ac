#pragma once

// The connection string of a pool's sessions. Server settings such as the
// search_path go into the connection's options, so every session has them
// from its start and no statement has to set them. A session that loses its
// server must not wait forever: unless the string says otherwise, connecting
// is bounded and TCP keepalives and a user timeout find a silent peer.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "connection/error.h"
#include "result.h"

namespace pool::session {

// Server settings, each sent as -c name=value.
using ServerSettings = std::vector<std::pair<std::string, std::string>>;

// `conninfo` with `settings` after its own options (or PGOPTIONS when it has
// none) and the timeouts it does not set. A malformed conninfo is an
// ErrorKind::Connect error.
qv_common::Result<std::string, connection::Error> session_conninfo(std::string_view conninfo,
                                                                   const ServerSettings& settings);

}  // namespace pool::session
