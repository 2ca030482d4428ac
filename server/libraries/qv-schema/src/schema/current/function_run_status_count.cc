#include "schema/current/function_run_status_count.h"

#include "schema/render.h"
#include "sqlbuilder/select.h"

namespace schema::current {

sqlbuilder::Expr function_run_status_count(const sqlbuilder::Iden& run_column, const sqlbuilder::Expr& owner_id) {
  using sqlbuilder::col;
  const sqlbuilder::Iden runs = "logical_function_runs";
  sqlbuilder::Select counts;
  counts.expr(col(runs, "status"))
      .expr_as(sqlbuilder::func("count", {sqlbuilder::asterisk()}), "count")
      .from(runs)
      .and_where(col(runs, run_column).eq(owner_id))
      .group_by(col(runs, "status"));
  sqlbuilder::Select object;
  object.expr(sqlbuilder::custom(render::json_object_agg("inner_fr.status", "inner_fr.count")))
      .from_subquery(counts, "inner_fr");
  return sqlbuilder::subquery(object);
}

}  // namespace schema::current
