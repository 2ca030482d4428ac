// The version-4 run status summaries of schema::archive::v4::logical_function_runs.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schema/archive/v4/logical_function_runs.h"
#include "schema/render.h"

namespace schema::archive::v4::logical_function_runs {
namespace {

using L = LogicalFunctionRuns;
using sqlbuilder::col;
using sqlbuilder::Expr;
using sqlbuilder::func;
using sqlbuilder::Select;
using sqlbuilder::val;

using Codes = std::vector<std::string_view>;

Expr status() { return col(L::Table, L::Status); }

// COUNT(CASE WHEN status IN (codes) THEN 1 END): rows outside the list give
// NULL and are not counted.
Expr count_in(const Codes& codes) {
  std::vector<Expr> literals;
  for (std::string_view code : codes) literals.push_back(val(std::string(code)));
  return func("COUNT", {sqlbuilder::Case().when(status().in(literals), val(1)).end()});
}

Expr count_all() { return func("COUNT", {status()}); }

Expr every(const Codes& codes) { return count_in(codes).eq(count_all()); }

Expr any(const Codes& codes) { return count_in(codes).gt(val(0)); }

// COUNT(*) also counts the all-NULL row that the LEFT JOIN gives a parent
// without runs, so such a parent is not finished.
Expr finished() { return func("COUNT", {sqlbuilder::asterisk()}).eq(count_in({"C", "X", "Y"})); }

// The number of runs per status code as a JSON object, '{}' without runs.
Expr status_count(std::optional<Expr> condition) {
  Select per_status;
  per_status.expr(status()).expr_as(func("COUNT", {sqlbuilder::asterisk()}), "count").from(L::Table);
  if (condition) per_status.and_where(*condition);
  per_status.group_by(status());
  Select object;
  object.expr(sqlbuilder::custom(render::json_object_agg("inner_fr.status", "inner_fr.count")))
      .from_subquery(per_status, "inner_fr");
  return sqlbuilder::subquery(object);
}

// First match wins.
Expr ladder_a() {
  return sqlbuilder::Case()
      .when(every({"S"}), val(std::string("S")))
      .when(every({"C", "X", "Y"}), val(std::string("F")))
      .when(every({"C", "D", "F", "H"}).and_(any({"F", "H"})), val(std::string("L")))
      .when(any({"S", "RR", "RS", "R", "D", "E"}), val(std::string("R")))
      .otherwise(val(std::string("U")))
      .end();
}

// Like ladder A, but a group entirely in "C", "X" or "Y" keeps that code.
Expr ladder_b() {
  return sqlbuilder::Case()
      .when(every({"S"}), val(std::string("S")))
      .when(every({"C"}), val(std::string("C")))
      .when(every({"X"}), val(std::string("X")))
      .when(every({"Y"}), val(std::string("Y")))
      .when(every({"D", "F", "H"}).and_(any({"F", "H"})), val(std::string("L")))
      .when(any({"S", "RR", "RS", "R", "D", "E"}), val(std::string("R")))
      .otherwise(val(std::string("U")))
      .end();
}

// One row per parent (execution or transaction), with or without runs.
Select per_parent(std::string_view parent, std::string_view link, Expr ladder) {
  const Expr parent_id = col(std::string(parent), "id");
  const Expr run_link = col(L::Table, std::string(link));
  Select query;
  query.expr_as(parent_id, std::string(link))
      .expr_as(ladder, "status")
      .expr_as(finished(), "finished")
      .expr_as(status_count(run_link.eq(parent_id)), "function_run_status_count")
      .from(std::string(parent))
      .join(sqlbuilder::JoinType::Left, L::Table, run_link.eq(parent_id))
      .group_by(parent_id);
  return query;
}

}  // namespace

std::vector<sql::view::ViewDef> status_summary_views() {
  Select global;
  global.expr_as(ladder_a(), "status")
      .expr_as(finished(), "finished")
      .expr_as(status_count(std::nullopt), "function_run_status_count")
      .from(L::Table);
  return {
      {"global_status_summary", global},
      {"execution_status_summary", per_parent("executions", to_string(L::ExecutionId), ladder_a())},
      {"transaction_status_summary", per_parent("transactions", to_string(L::TransactionId), ladder_b())},
  };
}

}  // namespace schema::archive::v4::logical_function_runs
