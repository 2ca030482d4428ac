#pragma once
// The step to version 9: every project gets system groups of its own, and
// groups and connections are keyed by their id alone. It stops first, with
// nothing changed, when two groups, or two connections, would then hold
// one id.

#include "schema/source.h"
#include "sqlbuilder/expr.h"

namespace schema::deltas::v8_to_v9 {

// (SELECT min("project_id") FROM "groups" WHERE "id" IN (<the shared ids>)):
// the project whose rows keep the shared system group ids.
sqlbuilder::Expr keeper_project();

source::Delta delta();

}  // namespace schema::deltas::v8_to_v9
