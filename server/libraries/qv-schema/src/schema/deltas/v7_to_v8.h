#pragma once
// The step to version 8: the identifiers of executions, transactions,
// function versions, runs and table data versions become bigint.

#include "schema/source.h"

namespace schema::deltas::v7_to_v8 {

source::Delta delta();

}  // namespace schema::deltas::v7_to_v8
