#pragma once
// The step to version 13: unique live names, input table versions, worker
// retries, validity repair of table data versions, and the status rollups
// of transactions and executions.

#include "schema/source.h"
#include "schema/sql/rollup.h"

namespace schema::deltas::v12_to_v13 {

// Transactions summarise their logical function runs.
sql::rollup::RollupDef transactions_rollup();
// Executions summarise their transactions, as the transactions rollup has
// just left them.
sql::rollup::RollupDef executions_rollup();

source::Delta delta();

}  // namespace schema::deltas::v12_to_v13
