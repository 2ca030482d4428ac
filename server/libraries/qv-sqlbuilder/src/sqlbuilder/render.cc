#include "sqlbuilder/render.h"

#include <utility>

#include "sqlbuilder/writer.h"

namespace sqlbuilder {
namespace {

using detail::ValueMode;
using detail::Writer;

template <typename Statement, typename Method>
std::string inline_sql(const Statement& statement, Method method) {
  Writer writer(ValueMode::Inline);
  (writer.*method)(statement);
  return std::move(writer.sql());
}

template <typename Statement, typename Method>
Built with_parameters(const Statement& statement, Method method) {
  Writer writer(ValueMode::Parameter);
  (writer.*method)(statement);
  return Built{std::move(writer.sql()), std::move(writer.values())};
}

}  // namespace

std::string to_sql(const Select& statement) { return inline_sql(statement, &Writer::select); }
std::string to_sql(const Insert& statement) { return inline_sql(statement, &Writer::insert); }
std::string to_sql(const Update& statement) { return inline_sql(statement, &Writer::update); }
std::string to_sql(const Delete& statement) { return inline_sql(statement, &Writer::remove); }
std::string to_sql(const TableCreate& statement) { return inline_sql(statement, &Writer::table_create); }
std::string to_sql(const TableAlter& statement) { return inline_sql(statement, &Writer::table_alter); }
std::string to_sql(const IndexCreate& statement) { return inline_sql(statement, &Writer::index_create); }
std::string to_sql(const IndexDrop& statement) { return inline_sql(statement, &Writer::index_drop); }
std::string to_sql(const Expr& expression) { return inline_sql(expression, &Writer::expr); }

Built build(const Select& statement) { return with_parameters(statement, &Writer::select); }
Built build(const Insert& statement) { return with_parameters(statement, &Writer::insert); }
Built build(const Update& statement) { return with_parameters(statement, &Writer::update); }
Built build(const Delete& statement) { return with_parameters(statement, &Writer::remove); }

}  // namespace sqlbuilder
