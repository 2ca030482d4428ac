#pragma once

// Batches of plain SQL texts, and secrets handed to the server as settings.

#include <string>
#include <string_view>
#include <vector>

#include "connection/connection.h"

namespace connection {

// Runs each text by itself, in order, through the extended protocol without
// parameters, so each must hold exactly one command. The first failure ends
// the batch with its error; what ran before it is left to the caller's
// transaction. An empty batch sends nothing.
qv_common::Result<void, Error> execute_batch(Connection& connection, const std::vector<std::string>& statements);

// SELECT set_config($1, $2, true): the setting `name` holds `value` until the
// transaction ends. The value travels only as a bound parameter.
qv_common::Result<void, Error> set_local_secret(Connection& connection, std::string_view name,
                                                std::string_view value);

}  // namespace connection
