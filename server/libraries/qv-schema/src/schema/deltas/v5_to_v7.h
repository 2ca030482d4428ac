#pragma once
// The steps to versions 6 (the start columns of versioned rows become
// "valid_from") and 7 (derived objects only).

#include "schema/source.h"

namespace schema::deltas::v5_to_v6 {

source::Delta delta();

}  // namespace schema::deltas::v5_to_v6

namespace schema::deltas::v6_to_v7 {

source::Delta delta();

}  // namespace schema::deltas::v6_to_v7
