#include "schema/archive/rollup.h"

namespace schema::archive::rollup {

sqlbuilder::Update backfill(const RollupDef& def) { return sql::rollup::detail::backfill(def, {"logical_runs", true}); }

}  // namespace schema::archive::rollup
