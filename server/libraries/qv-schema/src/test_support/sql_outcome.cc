#include "test_support/sql_outcome.h"

namespace schema::test_support {

std::string outcome(connection::Connection& session, std::string_view sql) {
  const auto result = session.execute(sql);
  if (result) return "ok";
  if (result.error().sqlstate.empty()) return "error: " + connection::describe(result.error());
  return result.error().sqlstate + ": " + result.error().message;
}

std::vector<std::string> query_rows(connection::Connection& session, std::string_view sql) {
  const auto result = session.execute(sql);
  if (!result) return {"error: " + connection::describe(result.error())};
  std::vector<std::string> rows;
  for (int row = 0; row < result->row_count(); ++row) {
    std::string text;
    for (int column = 0; column < result->column_count(); ++column) {
      if (column > 0) text += "|";
      text += result->value(row, column).value_or("NULL");
    }
    rows.push_back(std::move(text));
  }
  return rows;
}

}  // namespace schema::test_support
