#include "connection/error.h"

#include <string_view>

namespace connection {
namespace {

std::string field(const PGresult* result, int code) {
  const char* value = PQresultErrorField(result, code);
  return value == nullptr ? std::string() : std::string(value);
}

std::string without_final_newline(const char* text) {
  std::string_view view = text == nullptr ? std::string_view() : std::string_view(text);
  while (!view.empty() && view.back() == '\n') view.remove_suffix(1);
  return std::string(view);
}

}  // namespace

std::string describe(const Error& error) {
  std::string text;
  if (!error.sqlstate.empty()) text = error.severity + " " + error.sqlstate + ": ";
  text += error.message;
  if (!error.detail.empty()) text += "\nDETAIL: " + error.detail;
  if (!error.hint.empty()) text += "\nHINT: " + error.hint;
  if (!error.context.empty()) text += "\nCONTEXT: " + error.context;
  return text;
}

Error client_error(ErrorKind kind, std::string message) {
  Error error;
  error.kind = kind;
  error.message = std::move(message);
  return error;
}

Error error_of_result(const PGresult* result) {
  std::string sqlstate = field(result, PG_DIAG_SQLSTATE);
  if (sqlstate.empty()) {
    return client_error(ErrorKind::Io, without_final_newline(PQresultErrorMessage(result)));
  }
  return Error{
      .kind = ErrorKind::Server,
      .message = field(result, PG_DIAG_MESSAGE_PRIMARY),
      .sqlstate = std::move(sqlstate),
      .severity = field(result, PG_DIAG_SEVERITY_NONLOCALIZED),
      .detail = field(result, PG_DIAG_MESSAGE_DETAIL),
      .hint = field(result, PG_DIAG_MESSAGE_HINT),
      .context = field(result, PG_DIAG_CONTEXT),
  };
}

Error error_of_connection(const PGconn* connection, ErrorKind kind) {
  if (connection == nullptr) return client_error(kind, "out of memory");
  return client_error(kind, without_final_newline(PQerrorMessage(connection)));
}

}  // namespace connection
