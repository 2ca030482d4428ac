#pragma once
// The step to version 4: versioned rows with a validity end replace the
// current-state tables and the pointer tables.

#include "schema/source.h"

namespace schema::deltas::v3_to_v4 {

source::Delta delta();

}  // namespace schema::deltas::v3_to_v4
