#pragma once

// Passwords are hashed here, by the client, the way the server would store
// them: the server then never sees the password itself, so neither its error
// reports nor its log can quote it.

#include <string>
#include <string_view>

#include "connection/connection.h"

namespace connection {

// The SCRAM-SHA-256 verifier of `password` for `role`, whatever the server's
// password_encryption: an MD5 hash would be as good as the password itself
// wherever MD5 logins are allowed.
qv_common::Result<std::string, Error> encrypt_password(Connection& connection, std::string_view password,
                                                       std::string_view role);

}  // namespace connection
