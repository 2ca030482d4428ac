#pragma once

// Passwords are hashed here, by the client, the way the server would store
// them: the server then never sees the password itself, so neither its error
// reports nor its log can quote it.

#include <string>
#include <string_view>

#include "connection/connection.h"

namespace connection {

// The stored form of `password` for `role` with the server's own
// password_encryption (SCRAM-SHA-256 or MD5), asked on `connection`.
qv_common::Result<std::string, Error> encrypt_password(Connection& connection, std::string_view password,
                                                       std::string_view role);

}  // namespace connection
