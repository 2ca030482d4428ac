#pragma once
// The steps to versions 11 (function kind and parent function) and 12
// (service tokens, parent tables).

#include "schema/source.h"

namespace schema::deltas::v10_to_v11 {

source::Delta delta();

}  // namespace schema::deltas::v10_to_v11

namespace schema::deltas::v11_to_v12 {

source::Delta delta();

}  // namespace schema::deltas::v11_to_v12
