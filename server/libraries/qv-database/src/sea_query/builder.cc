#include "sea_query/builder.h"

#include <type_traits>
#include <utility>
#include <variant>

#include "sqlbuilder/render.h"

namespace sea_query::builder {
namespace {

connection::Param to_param(sqlbuilder::Value value) {
  return std::visit(
      [](auto&& alternative) -> connection::Param {
        using T = std::decay_t<decltype(alternative)>;
        if constexpr (std::is_same_v<T, sqlbuilder::Null>) {
          return connection::Null{};
        } else {
          return std::move(alternative);
        }
      },
      std::move(value));
}

BuiltStatement bound(sqlbuilder::Built built) {
  BuiltStatement statement{std::move(built.sql), {}};
  statement.values.reserve(built.values.size());
  for (sqlbuilder::Value& value : built.values) statement.values.push_back(to_param(std::move(value)));
  return statement;
}

}  // namespace

BuiltStatement build_sea_query(const sqlbuilder::Select& statement) { return bound(sqlbuilder::build(statement)); }
BuiltStatement build_sea_query(const sqlbuilder::Insert& statement) { return bound(sqlbuilder::build(statement)); }
BuiltStatement build_sea_query(const sqlbuilder::Update& statement) { return bound(sqlbuilder::build(statement)); }

}  // namespace sea_query::builder
