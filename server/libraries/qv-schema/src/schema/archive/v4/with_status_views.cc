#include "schema/archive/v4/with_status_views.h"

#include <string>
#include <string_view>

#include "schema/archive/v4/physical_function_runs.h"

namespace schema::archive::v4::with_status_views {
namespace {

using physical_function_runs::PhysicalFunctionRuns;
using sqlbuilder::col;
using sqlbuilder::func;

// <base>.* with the first start and last end of the parent's attempts, and
// its run status summary; the end shows only once the parent is finished.
sql::view::ViewDef with_status(std::string_view name, std::string_view base, std::string_view link,
                               std::string_view summary) {
  using P = PhysicalFunctionRuns;
  const sqlbuilder::Iden base_view{std::string(base)};
  const sqlbuilder::Iden link_column{std::string(link)};
  const sqlbuilder::Iden summary_view{std::string(summary)};
  const sqlbuilder::Iden attempts = "pfr_agg";

  sqlbuilder::Select span;
  span.expr(col(P::Table, link_column))
      .expr_as(func("min", {col(P::Table, P::StartedOn)}), "started_on")
      .expr_as(func("max", {col(P::Table, P::EndedOn)}), "ended_on")
      .from(P::Table)
      .group_by(col(P::Table, link_column));

  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(base_view))
      .expr_as(col(attempts, "started_on"), "started_on")
      .expr_as(sqlbuilder::Case().when(col(summary_view, "finished"), col(attempts, "ended_on")).end(), "ended_on")
      .expr_as(col(summary_view, "status"), "status")
      .expr_as(col(summary_view, "function_run_status_count"), "function_run_status_count")
      .from(base_view)
      .join_subquery(sqlbuilder::JoinType::Left, span, attempts, col(attempts, link_column).eq(col(base_view, "id")))
      .join(sqlbuilder::JoinType::Left, summary_view, col(summary_view, link_column).eq(col(base_view, "id")));
  return {std::string(name), query};
}

}  // namespace

std::vector<sql::view::ViewDef> Defs::create_views() const {
  return {
      with_status("executions__with_status", "executions__with_names", "execution_id", "execution_status_summary"),
      with_status("transactions__with_status", "transactions__with_names", "transaction_id",
                  "transaction_status_summary"),
  };
}

}  // namespace schema::archive::v4::with_status_views
