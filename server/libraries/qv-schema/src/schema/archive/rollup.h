#pragma once
// The status rollups of the version-4 schema, as the step to version 10
// fills the new status columns of executions and transactions: the rollup
// record of the current schema, with the children named "logical_runs" and
// every row of a parent counted, so that a parent without runs counts one.

#include "schema/sql/rollup.h"
#include "sqlbuilder/update.h"

namespace schema::archive::rollup {

using sql::rollup::RollupDef;

// The ladder counts children with count(*) FILTER (WHERE "logical_runs".
// "<status>" IN (...)) and all children with count(*).
sqlbuilder::Update backfill(const RollupDef& def);

}  // namespace schema::archive::rollup
