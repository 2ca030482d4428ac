#pragma once
// The version steps: for each target version from 2 to 13, the statements
// that take a database from the version before it to that version.

#include <string>

#include "result.h"
#include "schema/source.h"

namespace schema::deltas {

inline constexpr source::Version kFirstTarget = 2;
inline constexpr source::Version kLastTarget = 13;

// The step to `target`, built afresh on every call; for a target outside
// 2..13 the error "No delta migration for version <target>".
qv_common::Result<source::Delta, std::string> get(source::Version target);

}  // namespace schema::deltas
