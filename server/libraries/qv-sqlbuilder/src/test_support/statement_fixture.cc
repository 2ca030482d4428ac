#include "test_support/statement_fixture.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <variant>

namespace test_support {
namespace {

connection::Param param_of(const sqlbuilder::Value& value) {
  return std::visit(
      [](const auto& v) -> connection::Param {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, sqlbuilder::Null>) {
          return connection::Null{};
        } else {
          return v;
        }
      },
      value);
}

Rows rows_of(const qv_common::Result<connection::QueryResult, connection::Error>& result) {
  if (!result) return {{"error " + result.error().sqlstate + ": " + result.error().message}};
  Rows rows(static_cast<std::size_t>(result->row_count()));
  for (int row = 0; row < result->row_count(); ++row) {
    for (int column = 0; column < result->column_count(); ++column) {
      rows[row].emplace_back(result->value(row, column).value_or("NULL"));
    }
  }
  return rows;
}

}  // namespace

void StatementFixture::SetUp() {
  DatabaseFixture::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  auto opened = connection::connect(conninfo(), {{"options", "-csearch_path=scratch"}});
  ASSERT_TRUE(opened) << connection::describe(opened.error());
  connection_.emplace(std::move(opened).value());
  script("CREATE SCHEMA scratch");
}

void StatementFixture::script(std::string_view sql) {
  auto done = connection().execute_script(sql);
  ASSERT_TRUE(done) << connection::describe(done.error()) << "\nin: " << sql;
}

Rows StatementFixture::rows(std::string_view sql, const std::vector<sqlbuilder::Value>& values) {
  std::vector<connection::Param> params;
  for (const auto& value : values) params.push_back(param_of(value));
  return rows_of(connection().execute(sql, params));
}

std::string StatementFixture::sqlstate(std::string_view sql) {
  auto result = connection().execute(sql);
  return result ? std::string() : result.error().sqlstate;
}

Rows StatementFixture::in_rolled_back_transaction(const sqlbuilder::Built& built, std::string_view check) {
  script("BEGIN");
  Rows result = rows(built);
  const bool failed = connection().transaction_status() == PQTRANS_INERROR;
  if (!check.empty() && !failed) result = rows(check);
  script("ROLLBACK");
  return result;
}

Rows StatementFixture::agreed(Rows inline_rows, const Rows& parameter_rows) {
  if (inline_rows != parameter_rows) {
    ADD_FAILURE() << "the value modes differ\n  inline:     " << ::testing::PrintToString(inline_rows)
                  << "\n  parameters: " << ::testing::PrintToString(parameter_rows);
  }
  return inline_rows;
}

}  // namespace test_support
