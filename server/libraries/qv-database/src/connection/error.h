#pragma once

// The error value of the PostgreSQL client layer: plain data copied out of
// libpq, so it outlives the connection and the result it came from.

#include <libpq-fe.h>

#include <string>

namespace connection {

enum class ErrorKind {
  Connect,      // no session could be opened: address, TLS, authentication, connection string
  Io,           // the session broke, or libpq failed without a report from the server
  Server,       // the server reported an error: `sqlstate` and the fields below are set
  PoolTimeout,  // no pooled connection became free within the acquire timeout
  RowNotFound,  // a row was required and none came
  Decode,       // a value could not be read as the type asked for
};

struct Error {
  ErrorKind kind = ErrorKind::Io;
  // The server's primary message, or libpq's own text without its final line break.
  std::string message;
  // Set for ErrorKind::Server: the SQLSTATE code ("42P01"), the severity as the
  // server names it in English ("ERROR", "FATAL"), and the optional fields.
  std::string sqlstate;
  std::string severity;
  std::string detail;
  std::string hint;
  std::string context;
};

// One text for logs and test messages: "ERROR 42P01: relation ... does not exist"
// followed by "DETAIL: ...", "HINT: ..." and "CONTEXT: ..." lines where set.
std::string describe(const Error& error);

// An error of the client side, without a report from the server.
Error client_error(ErrorKind kind, std::string message);

// The error of a failed result: ErrorKind::Server when the server sent a
// SQLSTATE, otherwise ErrorKind::Io with libpq's message.
Error error_of_result(const PGresult* result);

// libpq's last error on `connection` (which may be null: out of memory).
Error error_of_connection(const PGconn* connection, ErrorKind kind);

}  // namespace connection
