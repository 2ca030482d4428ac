#pragma once
// The "function_run_status_count" column of the execution and transaction
// views: a JSON object from run status to the number of logical function
// runs of the row, {} when it has none.

#include "sqlbuilder/expr.h"
#include "sqlbuilder/iden.h"

namespace schema::current {

// (SELECT COALESCE(jsonb_object_agg(...), '{}'::jsonb) FROM (SELECT status,
// count(*) FROM logical_function_runs WHERE <run_column> = <owner_id>
// GROUP BY status) AS inner_fr)
sqlbuilder::Expr function_run_status_count(const sqlbuilder::Iden& run_column, const sqlbuilder::Expr& owner_id);

}  // namespace schema::current
