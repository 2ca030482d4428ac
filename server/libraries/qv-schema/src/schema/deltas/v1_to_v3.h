#pragma once
// The steps to versions 2 (no placeholder e-mails) and 3 (the base path of
// each physical run).

#include "schema/source.h"

namespace schema::deltas::v1_to_v2 {

source::Delta delta();

}  // namespace schema::deltas::v1_to_v2

namespace schema::deltas::v2_to_v3 {

source::Delta delta();

}  // namespace schema::deltas::v2_to_v3
